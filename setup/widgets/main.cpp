#include <QApplication>

#include "CSetupLauncherDlg.h"
#include "MessageBoxes.h"
#include "PlatformHost.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName("QuillorySetup");

    quillory::setup::MessageBoxes messages;
    const auto host = quillory::setup::MakePlatformSetupHost(messages);
    quillory::setup::CSetupLauncherDlg dialog(*host, messages);
    messages.SetOwner(&dialog);
    dialog.Initialize();
    if (dialog.CloseRequested()) {
        return 0;
    }
    dialog.exec();
    return 0;
}
