// Start-up, system detection, timer 3 and "Install Quillory".
#include <gtest/gtest.h>

#include "SetupFakes.h"
#include "SetupTexts.h"

using namespace setuptest;
namespace texts = quillory::setup::texts;

TEST(StartUp, StagesTheDriverFilesInsideWindowsAndGoesOnWithoutItsFoldersOrVersion) {
    LauncherOnWindows setup;
    setup.launcher.Initialize();
    EXPECT_FALSE(setup.platform.fileOperations.empty());
    for (const std::string& operation : setup.platform.fileOperations) {
        EXPECT_EQ(operation.find("C:\\Qv7sys.bad"), std::string::npos) << operation;
    }
    EXPECT_TRUE(setup.messages.shown.empty());
    EXPECT_TRUE(setup.timer.running);

    LauncherOnWindows noFolders;
    noFolders.platform.windowsDirectory.reset();
    noFolders.platform.systemDirectory.reset();
    noFolders.Start(kWindows7);
    EXPECT_EQ(noFolders.messages.shown.size(), 3u);
    EXPECT_TRUE(noFolders.platform.fileOperations.empty());
    EXPECT_TRUE(noFolders.timer.running);
    EXPECT_FALSE(noFolders.launcher.CloseRequested());

    LauncherOnWindows noVersion;
    noVersion.platform.version.reset();
    noVersion.launcher.Initialize();
    EXPECT_EQ(noVersion.messages.shown.size(), 1u);
    EXPECT_TRUE(noVersion.launcher.CloseRequested());
    EXPECT_FALSE(noVersion.platform.fileOperations.empty());
}

TEST(Timer3, OnXpWatchesUntilTheApplicationAppearsWithBlanksAroundItsVersion) {
    LauncherOnWindows setup;
    setup.Start(kWindowsXP);
    setup.Tick();
    setup.Tick();
    EXPECT_TRUE(setup.timer.running);
    EXPECT_FALSE(setup.Enabled(id::kXpFileTransfer));
    setup.SetInstalledVersion(" 2.01\t\r\n");
    setup.Tick();
    EXPECT_FALSE(setup.timer.running);
    EXPECT_FALSE(setup.Enabled(id::kInstallQuillory));
    EXPECT_TRUE(setup.Enabled(id::kXpFileTransfer));
}

TEST(Timer3, OnWindows7TheFirstTickIsTheLastUntilInstallQuillory) {
    LauncherOnWindows setup;
    setup.Start(kWindows7);
    setup.Tick();
    EXPECT_FALSE(setup.timer.running);
    setup.SetInstalledVersion("2.01");
    setup.Tick();
    EXPECT_TRUE(setup.Enabled(id::kInstallQuillory));  // nobody looked again

    setup.launcher.OnButton(id::kInstallQuillory);
    EXPECT_TRUE(setup.timer.running);
    setup.Tick();
    EXPECT_FALSE(setup.Enabled(id::kInstallQuillory));
    EXPECT_TRUE(setup.Enabled(id::kVistaDrivers));
}

// "Install Quillory" ----------------------------------------------------------

TEST(InstallQuillory, InstallsTheWindowsInstallerWhenThePackageCannotStartThenRetries) {
    LauncherOnWindows setup;
    setup.Start(kWindows7);
    setup.platform.failuresLeft["msiexec /I"] = 1;
    setup.launcher.OnButton(id::kInstallQuillory);
    const auto& runs = setup.platform.runs;
    ASSERT_EQ(runs.size(), 4u);
    EXPECT_NE(runs[2].find("WindowsInstaller"), std::string::npos);
    EXPECT_EQ(runs[3], runs[1]);
    EXPECT_EQ(setup.launcher.Caption(), texts::kInstallingWindowsInstaller);
    EXPECT_TRUE(setup.timer.running);
    EXPECT_FALSE(setup.launcher.CloseRequested());
}

TEST(InstallQuillory, EndsTheProgramWithAnErrorWhenNeitherInstallerNorPackageStarts) {
    for (const bool installerStarts : {false, true}) {
        LauncherOnWindows setup;
        setup.Start(installerStarts ? kWindows7 : kWindows95);
        setup.platform.failuresLeft["msiexec /I"] = -1;
        if (!installerStarts) setup.platform.failuresLeft["WindowsInstaller/"] = -1;
        setup.launcher.OnButton(id::kInstallQuillory);
        EXPECT_EQ(setup.messages.shown, std::vector<std::string>{installerStarts ? texts::kInstallQuilloryFailed
                                                                                 : texts::kWindowsInstallerFailed});
        EXPECT_TRUE(setup.launcher.CloseRequested());
        EXPECT_FALSE(setup.timer.running);
    }
}
