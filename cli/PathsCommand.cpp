// qv7 paths: where the installed files are looked for.
#include <QCoreApplication>
#include <cstdio>

#include "Commands.h"
#include "InstalledFiles.h"

namespace qv7cli {

int RunPaths(const Arguments& args) {
    if (!args.empty()) return UsageError("paths takes no arguments");
    // The paths follow the program's own location, which Qt knows only
    // through an application object.
    int argc = 1;
    char name[] = "qv7";
    char* argv[] = {name, nullptr};
    QCoreApplication application(argc, argv);
    std::fputs(quillory::InstalledFilesText().toLocal8Bit().constData(), stdout);
    return kExitSuccess;
}

}  // namespace qv7cli
