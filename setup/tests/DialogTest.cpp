// The dialog over the Windows host's stand-in platform, offscreen.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QPushButton>

#include "CSetupLauncherDlg.h"
#include "SetupFakes.h"

using namespace setuptest;

namespace {

QApplication& App() {
    static int argc = 1;
    static char name[] = "setup_dialog_tests";
    static char* argv[] = {name, nullptr};
    static QApplication app(argc, argv);
    return app;
}

struct DialogOnWindows {
    DialogOnWindows() { platform.texts[{win::kApplicationKey, "Version"}] = "2.01"; }
    QApplication& app = App();
    FakeWinPlatform platform;
    win::WindowsSetupHost host{platform};
    RecordedMessages messages;
    CSetupLauncherDlg dialog{host, messages};

    QPushButton* Button(int controlId) { return qobject_cast<QPushButton*>(dialog.Control(controlId)); }
};

}  // namespace

TEST(SetupDialog, ShowsTheMainPageAndFollowsTheLogicThroughAPage) {
    DialogOnWindows ui;
    ui.dialog.Initialize();
    ui.dialog.show();
    EXPECT_TRUE(ui.dialog.Timer().timer().isActive());
    for (int control : MainPageControls()) {
        EXPECT_TRUE(ui.dialog.Control(control)->isVisible()) << control;
    }
    EXPECT_FALSE(ui.dialog.Control(id::kBack)->isVisible());
    EXPECT_TRUE(ui.Button(id::kExit)->isDefault());

    ui.platform.texts[{win::FileTransferInterfaceKey(kHardwareId, ""), "Driver"}] = "{x}\\0001";
    ui.Button(id::kXpScribeline)->click();
    EXPECT_FALSE(ui.dialog.Control(id::kPicture)->isVisible());
    EXPECT_TRUE(ui.dialog.Control(id::kBack)->isVisible());
    EXPECT_TRUE(ui.dialog.Control(id::kPageTitle)->isVisible());
    EXPECT_TRUE(ui.Button(id::kNext)->isVisible() && ui.Button(id::kNext)->isEnabled());

    ui.Button(id::kBack)->click();
    EXPECT_TRUE(ui.dialog.Control(id::kPicture)->isVisible());
    ui.Button(id::kExit)->click();
    EXPECT_EQ(ui.dialog.result(), QDialog::Accepted);
    EXPECT_FALSE(ui.dialog.isVisible());
}
