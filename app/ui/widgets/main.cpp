// Quillory: the QV7E printer's files in a window.
#include <QApplication>

#include <cstdio>
#include <cstdlib>

#include "CQuilloryApp.h"
#include "CommandLine.h"
#include "FileDialogChoice.h"
#include "InstalledFiles.h"
#include "MessageBoxPrompt.h"

int main(int argc, char** argv) {
    // Read before Qt starts, so that --help and a mistyped device need no display.
    const quillory::CommandLine line = quillory::ParseCommandLine(argc, argv);
    if (!line.error.empty()) {
        std::fprintf(stderr, "Quillory: %s\n\n%s", line.error.c_str(), quillory::kCommandLineHelp);
        return 2;
    }
    if (line.help) {
        std::fputs(quillory::kCommandLineHelp, stdout);
        return 0;
    }
    if (line.version) {
        std::printf("Quillory %s\n", QUILLORY_VERSION);
        return 0;
    }
    if (line.paths) {
        // No window, nor an application object, is needed: the paths follow
        // the program's own file.
        std::fputs(quillory::InstalledFilesText().toLocal8Bit().constData(), stdout);
        return 0;
    }
    quillory::ApplyPrinterOptions(line);

    QApplication qtApplication(argc, argv);
    quillory::MessageBoxPrompt prompt;
    quillory::FileDialogChoice files;
    quillory::CQuilloryApp application(prompt, files);
    if (!application.InitInstance()) return 1;
    const int result = QApplication::exec();
    application.ExitInstance();
    return result;
}
