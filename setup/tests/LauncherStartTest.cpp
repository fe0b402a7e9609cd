// Start-up, system detection, timer 3 and "Install Quillory".
#include <gtest/gtest.h>

#include "SetupFakes.h"
#include "SetupTexts.h"

using namespace setuptest;

TEST(OsCode, LaterSystemsThanWindows7AreUnknownButWindows10PassesForWindows2000) {
    EXPECT_EQ(OsCodeFor({6, 2, 2}), 0);
    EXPECT_EQ(OsCodeFor({10, 0, 2}), 2000);
    EXPECT_EQ(OsCodeFor({4, 0, 2}), 40);
}

TEST(StartUp, RemovesOldPackagesAndStagesDriverFilesWithoutWritingOutsideWindows) {
    LauncherOnWindows setup;
    setup.launcher.Initialize();
    const FakeWinPlatform& platform = setup.platform;
    ASSERT_EQ(platform.runs.size(), 6u) << "one removal for each old package";
    for (const Started& run : platform.runs) {
        EXPECT_TRUE(run.line.starts_with("msiexec /x LinkMsi/") && run.line.ends_with(".msi /q")) << run.line;
        EXPECT_EQ(run, (Started{run.line, -1, false, false})) << "waited for without a limit";
    }

    const std::vector<std::string>& files = platform.fileOperations;
    ASSERT_EQ(files.size(), 2u + 1u + 6u + 10u);
    EXPECT_EQ(files[0], "delete C:\\WINDOWS\\inf\\qv7sys.inf");
    EXPECT_EQ(files[1], "delete C:\\WINDOWS\\inf\\QV7SYS.PNF");
    EXPECT_EQ(files[2], "copy \\qv7sys.inf -> C:\\WINDOWS\\inf\\qv7sys.inf");
    EXPECT_EQ(files[14], "copy amd64_6_1\\qv7sys.sys -> C:\\WINDOWS\\system32\\drivers\\amd64.6.1\\qv7sys.sys");
    EXPECT_EQ(files[18], "copy amd64_6_1\\QV7.dll -> C:\\WINDOWS\\inf\\amd64.6.1\\QV7.dll");
    for (const std::string& operation : files) EXPECT_EQ(operation.find("C:\\Qv7sys.bad"), std::string::npos) << operation;
    EXPECT_TRUE(setup.messages.shown.empty());
    EXPECT_TRUE(setup.timer.running);
    EXPECT_EQ(setup.timer.periodMs, 100);
}

TEST(StartUp, OnXpSkipsRefreshingTheInformationFileButStillStagesIt) {
    LauncherOnWindows setup;
    setup.Start(kWindowsXP);
    const auto& files = setup.platform.fileOperations;
    EXPECT_EQ(std::count(files.begin(), files.end(), "copy \\qv7sys.inf -> C:\\WINDOWS\\inf\\qv7sys.inf"), 0);
    EXPECT_EQ(std::count(files.begin(), files.end(), "copy qv7sys.inf -> C:\\WINDOWS\\inf\\qv7sys.inf"), 1);
}

TEST(StartUp, ReportsMissingSystemFoldersAndGoesOn) {
    LauncherOnWindows setup;
    setup.platform.windowsDirectory.reset();
    setup.platform.systemDirectory.reset();
    setup.Start(kWindows7);
    EXPECT_EQ(setup.messages.shown, (std::vector<std::string>{" Can not find WindowsDirectory",
                                                              " Can not find WindowsDirectory",
                                                              " Can not find SystemDirectory"}));
    EXPECT_TRUE(setup.platform.fileOperations.empty());
    EXPECT_TRUE(setup.timer.running);
    EXPECT_FALSE(setup.launcher.CloseRequested());
}

TEST(StartUp, WithoutAVersionTheRemainingStepsRunAndTheWindowCloses) {
    LauncherOnWindows setup;
    setup.platform.version.reset();
    setup.launcher.Initialize();
    EXPECT_EQ(setup.messages.shown, std::vector<std::string>{"No Version Number."});
    EXPECT_TRUE(setup.launcher.CloseRequested());
    EXPECT_EQ(setup.launcher.osCode(), 0);
    EXPECT_FALSE(setup.platform.fileOperations.empty());
    EXPECT_TRUE(setup.timer.running);
}

// Timer 3 ------------------------------------------------------------------

TEST(Timer3, VistaAndWindows2000BehaveAlikeAndBlanksAround201DoNotMatter) {
    std::vector<std::map<int, ControlState>> states;
    for (const OsVersion& version : {kVista, kWindows2000}) {
        LauncherOnWindows setup;
        setup.SetInstalledVersion(" 2.01 ");
        setup.Start(version);
        setup.Tick();
        EXPECT_FALSE(setup.timer.running);
        EXPECT_TRUE(setup.Enabled(id::kVistaDrivers));
        EXPECT_FALSE(setup.Enabled(id::kXpScribeline));
        EXPECT_FALSE(setup.Enabled(id::kInstallQuillory));
        states.push_back(setup.launcher.Controls().All());
    }
    for (const auto& [control, state] : states[0]) {
        EXPECT_EQ(std::pair(state.enabled, state.visible),
                  std::pair(states[1].at(control).enabled, states[1].at(control).visible)) << control;
    }
}

TEST(Timer3, AnUnknownSystemLooksOnceAndOffersTheXpDriversAndTheNtPackage) {
    LauncherOnWindows setup;
    setup.Start({6, 2, 2});
    EXPECT_EQ(setup.launcher.osCode(), 0);
    setup.Tick();
    EXPECT_FALSE(setup.timer.running);
    EXPECT_TRUE(setup.Enabled(id::kInstallQuillory));
    EXPECT_FALSE(setup.Enabled(id::kXpFileTransfer));

    setup.launcher.OnButton(id::kInstallQuillory);
    EXPECT_EQ(setup.platform.Lines(), (std::vector<std::string>{"msiexec /x QV7LinkNT.msi /q",
                                                                "msiexec /I QV7LinkNT.msi ALLUSERS=2"}));
    setup.SetInstalledVersion("2.01");
    setup.Tick();
    for (int xpButton : {id::kXpFileTransfer, id::kXpUpgrade, id::kXpScribeline}) EXPECT_TRUE(setup.Enabled(xpButton));
    EXPECT_FALSE(setup.Enabled(id::kVistaDrivers));
    EXPECT_FALSE(setup.timer.running);
}

TEST(Timer3, OnXpWatchesUntilTheApplicationAppears) {
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
    EXPECT_EQ(setup.timer.periodMs, 100);
    setup.Tick();
    EXPECT_FALSE(setup.Enabled(id::kInstallQuillory));
    EXPECT_TRUE(setup.Enabled(id::kVistaDrivers));
}

// "Install Quillory" ----------------------------------------------------------

TEST(InstallQuillory, Version109StartsNothingAndOnlyRestartsTheTimer) {
    LauncherOnWindows setup;
    setup.SetInstalledVersion("1.09");
    setup.Start(kWindows7);
    setup.Tick();
    setup.launcher.OnButton(id::kInstallQuillory);
    EXPECT_TRUE(setup.platform.runs.empty());
    EXPECT_TRUE(setup.timer.running);
}

TEST(InstallQuillory, RemovesThenInstallsThePackageOfTheSystemFamily) {
    LauncherOnWindows win95;
    win95.Start(kWindows95);
    win95.launcher.OnButton(id::kInstallQuillory);
    EXPECT_EQ(win95.platform.runs, (std::vector<Started>{{"msiexec /x QV7Link9x.msi /q", -1, false, false},
                                                     {"msiexec /I QV7Link9x.msi ALLUSERS=2", 3000, true, false}}));
    LauncherOnWindows xp;
    xp.Start(kWindowsXP);
    xp.launcher.OnButton(id::kInstallQuillory);
    EXPECT_EQ(xp.platform.Lines(), (std::vector<std::string>{"msiexec /x QV7LinkNT.msi /q",
                                                             "msiexec /I QV7LinkXP.msi ALLUSERS=2"}));
}

TEST(InstallQuillory, InstallsTheWindowsInstallerWhenThePackageCannotStart) {
    LauncherOnWindows setup;
    setup.Start(kWindows7);
    setup.platform.failuresLeft["msiexec /I QV7LinkNT.msi ALLUSERS=2"] = 1;
    setup.launcher.OnButton(id::kInstallQuillory);
    EXPECT_EQ(setup.platform.runs,
              (std::vector<Started>{{"msiexec /x QV7LinkNT.msi /q", -1, false, false},
                                {"msiexec /I QV7LinkNT.msi ALLUSERS=2", 3000, true, false},
                                {"WindowsInstaller/WindowsInstaller-KB893803-v2-x86.exe /q:a", -1, true, false},
                                {"msiexec /I QV7LinkNT.msi ALLUSERS=2", 3000, true, false}}));
    EXPECT_EQ(setup.launcher.Caption(), "Install Windows Installer...");
    EXPECT_TRUE(setup.timer.running);
    EXPECT_FALSE(setup.launcher.CloseRequested());
}

TEST(InstallQuillory, EndsTheProgramWhenNeitherInstallerNorPackageStarts) {
    LauncherOnWindows noInstaller;
    noInstaller.Start(kWindows95);
    noInstaller.platform.failuresLeft["msiexec /I QV7Link9x.msi ALLUSERS=2"] = -1;
    noInstaller.platform.failuresLeft["WindowsInstaller/Win9xInstMsi.exe /q:a"] = -1;
    noInstaller.launcher.OnButton(id::kInstallQuillory);
    EXPECT_EQ(noInstaller.messages.shown, std::vector<std::string>{"error:InstallWinInstaller() failed."});
    EXPECT_TRUE(noInstaller.launcher.CloseRequested());
    EXPECT_FALSE(noInstaller.timer.running);

    LauncherOnWindows noPackage;
    noPackage.Start(kWindows7);
    noPackage.platform.failuresLeft["msiexec /I QV7LinkNT.msi ALLUSERS=2"] = -1;
    noPackage.launcher.OnButton(id::kInstallQuillory);
    EXPECT_EQ(noPackage.messages.shown, std::vector<std::string>{"error: InstallQuillory failed."});
    EXPECT_TRUE(noPackage.launcher.CloseRequested());
}
