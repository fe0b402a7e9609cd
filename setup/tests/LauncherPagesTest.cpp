// The pages: instructions, Vista/7 with Help and Install, Scribeline, Next->.
#include <gtest/gtest.h>

#include "SetupFakes.h"
#include "SetupTexts.h"

using namespace setuptest;
namespace texts = quillory::setup::texts;

namespace {

const std::vector<std::string> kPrinterCommandsOnUsb001 = {
    "rundll32 printui.dll,PrintUIEntry /dl /q /n \"Tandor QV7\"",
    "rundll32 printui.dll,PrintUIEntry /dl /q /n \"Tandor QV7E\"",
    "rundll32 printui.dll,PrintUIEntry /dl /q /n \"QV7\"",
    "rundll32 printui.dll,PrintUIEntry /dl /q /n \"QV7E\"",
    "rundll32 printui.dll,PrintUIEntry /if /q /b \"Tandor QV7E\" /f OEMPRINT.inf /r FILE: /m \"Tandor QV7E\"",
    "rundll32 printui.dll, PrintUIEntry /Xs /q /n \"Tandor QV7E\" comment \"Tandor QV7E Printer\"",
    "rundll32 printui.dll, PrintUIEntry /Xs /q /n \"Tandor QV7E\" PortName \"USB001\""};

class Pages : public ::testing::Test {
protected:
    void StartOn(OsVersion version) {
        setup.SetInstalledVersion("2.01");
        setup.Start(version);
        setup.Tick();
    }
    bool OnMainPage() const {
        for (int control : MainPageControls()) {
            if (!setup.Visible(control)) {
                return false;
            }
        }
        return setup.Visible(id::kExit) && !setup.Visible(id::kPageTitle) && !setup.Visible(id::kPageText) &&
               !setup.Visible(id::kBack) && !setup.Visible(id::kNext) && !setup.Visible(id::kInstall) &&
               !setup.Visible(id::kHelp);
    }
    bool OffMainPage() const {
        for (int control : MainPageControls()) {
            if (setup.Visible(control)) {
                return false;
            }
        }
        return !setup.Visible(id::kExit) && setup.Visible(id::kBack) && setup.Visible(id::kPageTitle) &&
               setup.Visible(id::kPageText);
    }

    LauncherOnWindows setup;
};

}  // namespace

TEST_F(Pages, InstructionPagesClearAddPrinterModeAndBackRestoresTheMainPage) {
    StartOn(kWindowsXP);
    EXPECT_TRUE(OnMainPage());
    setup.launcher.OnButton(id::kXpScribeline);
    EXPECT_TRUE(setup.launcher.addPrinterMode());
    setup.launcher.OnButton(id::kBack);
    EXPECT_TRUE(OnMainPage());
    EXPECT_TRUE(setup.launcher.addPrinterMode());  // Back leaves it alone

    setup.launcher.OnButton(id::kXpUpgrade);
    EXPECT_TRUE(OffMainPage());
    EXPECT_FALSE(setup.Visible(id::kNext));
    EXPECT_FALSE(setup.launcher.addPrinterMode());
    EXPECT_EQ(setup.Title(), texts::kXpUpgradeTitle);
    EXPECT_EQ(setup.Text(), texts::kXpUpgradeText);
    EXPECT_TRUE(setup.platform.runs.empty());
    setup.launcher.OnButton(id::kBack);
    EXPECT_TRUE(OnMainPage());
    EXPECT_EQ(setup.launcher.Controls()[id::kNext].text, "Next->");
}

TEST_F(Pages, VistaPageOffersInstallAndHelpWhichDisablesInstall) {
    StartOn(kWindows7);
    setup.launcher.OnButton(id::kVistaDrivers);
    EXPECT_TRUE(OffMainPage());
    EXPECT_TRUE(setup.Visible(id::kInstall) && setup.Enabled(id::kInstall));
    EXPECT_TRUE(setup.Visible(id::kHelp));
    EXPECT_FALSE(setup.Visible(id::kNext));
    EXPECT_EQ(setup.Title(), texts::kVistaPageTitle);
    setup.launcher.OnButton(id::kHelp);
    EXPECT_FALSE(setup.Enabled(id::kInstall));
    EXPECT_EQ(setup.Title(), texts::kVistaHelpTitle);
    EXPECT_EQ(setup.Text(), texts::kVistaHelpText);
}

TEST_F(Pages, InstallingTheKernelDriverOnWindows7LeadsToNext) {
    StartOn(kWindows7);
    setup.platform.failuresLeft["pnputil.exe -i -a WIN7\\qv7sys.inf"] = -1;
    setup.launcher.OnButton(id::kVistaDrivers);
    setup.launcher.OnButton(id::kInstall);
    EXPECT_EQ(setup.platform.runs, (std::vector<Started>{{"pnputil.exe -i -a WIN7\\qv7sys.inf", -1, false, true},
                                                     {"pnputilWin764.exe -i -a WIN7\\qv7sys.inf", -1, false, true}}));
    EXPECT_TRUE(setup.launcher.addPrinterMode());
    EXPECT_TRUE(setup.Visible(id::kNext) && setup.Enabled(id::kNext));
    EXPECT_FALSE(setup.Visible(id::kHelp));
    EXPECT_FALSE(setup.Visible(id::kInstall));
    EXPECT_EQ(setup.Title(), texts::kScribelineInstallTitle);
    EXPECT_EQ(setup.Text(), texts::kTextL);
}

TEST_F(Pages, KernelDriverCommandsOfVistaAndWhenNoneStarts) {
    StartOn(kVista);
    setup.platform.failuresLeft["pnputil.exe -i -a Vista\\qv7sys.inf"] = -1;
    setup.platform.failuresLeft["pnputilVista64.exe -i -a Vista\\qv7sys.inf"] = -1;
    setup.launcher.OnButton(id::kVistaDrivers);
    setup.launcher.OnButton(id::kInstall);
    EXPECT_EQ(setup.platform.Lines(), (std::vector<std::string>{"pnputil.exe -i -a Vista\\qv7sys.inf",
                                                                "pnputilVista64.exe -i -a Vista\\qv7sys.inf"}));
    EXPECT_FALSE(setup.launcher.addPrinterMode());
    EXPECT_FALSE(setup.Visible(id::kNext));
    EXPECT_EQ(setup.Text(), texts::kTextD);
}

TEST_F(Pages, OnXpTheVistaInstallStartsNothingAndEndsWithTextD) {
    StartOn(kWindowsXP);
    setup.launcher.OnButton(id::kVistaDrivers);
    setup.launcher.OnButton(id::kInstall);
    EXPECT_TRUE(setup.platform.runs.empty());
    EXPECT_EQ(setup.Text(), texts::kTextD);
    EXPECT_FALSE(setup.Visible(id::kInstall));
}

TEST_F(Pages, AnInstalledDriverOnWindows7OffersTheNextStep) {
    StartOn(kWindows7);
    setup.ConnectPrinter("7&2a1b3c4d&0", 1);
    setup.InstallKernelDriver("7&2a1b3c4d&0");
    setup.launcher.OnButton(id::kVistaDrivers);
    setup.launcher.OnButton(id::kInstall);
    EXPECT_TRUE(setup.platform.runs.empty());
    EXPECT_EQ(setup.Title(), texts::kAutoInstallTitle);
    EXPECT_EQ(setup.Text(), texts::kTextL);
    EXPECT_TRUE(setup.launcher.addPrinterMode());
    EXPECT_TRUE(setup.Visible(id::kNext) && setup.Visible(id::kHelp) && setup.Visible(id::kInstall));
    EXPECT_FALSE(setup.Enabled(id::kInstall));

    // The same press again, now in add-printer mode, invites to the next step.
    setup.launcher.OnButton(id::kInstall);
    EXPECT_TRUE(setup.Enabled(id::kNext));
    EXPECT_EQ(setup.Title(), texts::kScribelineInstallTitle);
}

TEST_F(Pages, ScribelineNeedsTheKernelDriverFirst) {
    StartOn(kWindowsXP);
    setup.launcher.OnButton(id::kXpScribeline);
    EXPECT_TRUE(OffMainPage());
    EXPECT_EQ(setup.Title(), texts::kDriverMissingTitle);
    EXPECT_TRUE(setup.Visible(id::kNext));
    EXPECT_FALSE(setup.Enabled(id::kNext));

    setup.launcher.OnButton(id::kBack);
    setup.ConnectPrinter("7&2a1b3c4d&0", 1);
    setup.InstallKernelDriver("7&2a1b3c4d&0");
    setup.launcher.OnButton(id::kXpScribeline);
    EXPECT_EQ(setup.Title(), texts::kScribelineTitle);
    EXPECT_EQ(setup.Text().substr(0, 3), "1. ");
    EXPECT_TRUE(setup.Enabled(id::kNext));
}

TEST_F(Pages, NextAddsThePrinterOnItsPortAndDoesTheSameAgainAfterBack) {
    StartOn(kWindows7);
    setup.ConnectPrinter("7&2a1b3c4d&0", 1);
    setup.InstallKernelDriver("7&2a1b3c4d&0");
    setup.launcher.OnButton(id::kXpScribeline);
    setup.launcher.OnButton(id::kNext);

    std::vector<std::string> expected = {"pnputil.exe -a OEMPRINT.inf"};
    expected.insert(expected.end(), kPrinterCommandsOnUsb001.begin(), kPrinterCommandsOnUsb001.end());
    EXPECT_EQ(setup.platform.Lines(), expected);
    EXPECT_EQ(setup.Title(), texts::kPrinterAddedTitle);
    EXPECT_FALSE(setup.Visible(id::kNext));

    setup.platform.runs.clear();
    setup.launcher.OnButton(id::kBack);
    setup.launcher.OnButton(id::kXpScribeline);
    setup.launcher.OnButton(id::kNext);
    EXPECT_EQ(setup.platform.Lines(), expected);
}

TEST_F(Pages, PrinterDriverPackageFallbacksAndUnableToAddPrinter) {
    StartOn(kVista);
    setup.ConnectPrinter("7&2a1b3c4d&0", 12);
    setup.platform.failuresLeft["pnputil.exe -a OEMPRINT.inf"] = -1;
    setup.platform.failuresLeft["pnputilVista64.exe -a OEMPRINT.inf"] = -1;
    setup.launcher.OnButton(id::kXpScribeline);
    setup.launcher.OnButton(id::kNext);
    const auto lines = setup.platform.Lines();
    ASSERT_EQ(lines.size(), 9u);
    EXPECT_EQ(lines[1], "pnputilVista64.exe -a OEMPRINT.inf");
    EXPECT_EQ(lines[8], "rundll32 printui.dll, PrintUIEntry /Xs /q /n \"Tandor QV7E\" PortName \"USB0012\"");
    EXPECT_EQ(setup.messages.shown, std::vector<std::string>{"Unable to add Printer"});
    EXPECT_EQ(setup.Title(), texts::kPrinterAddedTitle);

    LauncherOnWindows win7;
    win7.SetInstalledVersion("2.01");
    win7.Start(kWindows7);
    win7.ConnectPrinter("p", 1);
    win7.platform.failuresLeft["pnputil.exe -a OEMPRINT.inf"] = -1;
    win7.launcher.OnButton(id::kXpScribeline);
    win7.launcher.OnButton(id::kNext);
    EXPECT_EQ(win7.platform.Lines()[1], "pnputilWin764 -a OEMPRINT.inf");
}

TEST_F(Pages, APrinterNeverConnectedIsNotDetected) {
    StartOn(kWindowsXP);
    setup.launcher.OnButton(id::kXpScribeline);
    setup.launcher.OnButton(id::kNext);
    EXPECT_EQ(setup.launcher.parentIdPrefix(), "");
    EXPECT_EQ(setup.Title(), texts::kProblemTitle);
    EXPECT_EQ(setup.Text(), texts::kNotDetectedText);
    EXPECT_FALSE(setup.Visible(id::kNext));
    EXPECT_TRUE(setup.platform.runs.empty());
}

TEST_F(Pages, AMissingPortNumberStopsBeforeAnyPrinterCommand) {
    StartOn(kWindowsXP);
    setup.ConnectPrinter("7&2a1b3c4d&0", std::nullopt);
    setup.launcher.OnButton(id::kXpScribeline);
    setup.launcher.OnButton(id::kNext);
    EXPECT_EQ(setup.Text(), texts::kNoPortText);
    EXPECT_TRUE(setup.platform.runs.empty());
}

TEST_F(Pages, RegistryPathsCarryTheWholeParentIdPrefix) {
    StartOn(kWindowsXP);
    const std::string longPrefix(300, 'a');
    setup.ConnectPrinter(longPrefix, 3);
    setup.launcher.OnButton(id::kXpScribeline);
    setup.launcher.OnButton(id::kNext);
    EXPECT_EQ(setup.launcher.parentIdPrefix(), longPrefix);
    const std::vector<std::string> expectedKeys = {
        "SYSTEM\\CurrentControlSet\\Enum\\USB\\Vid_ffff&Pid_07e0\\123456789ab\\",
        "SYSTEM\\CurrentControlSet\\Enum\\USB\\Vid_ffff&Pid_07e0&MI_00\\" + longPrefix + "&0000",
        "SYSTEM\\CurrentControlSet\\Enum\\USB\\Vid_ffff&Pid_07e0\\123456789ab\\",
        "SYSTEM\\CurrentControlSet\\Control\\DeviceClasses\\{28d78fad-5a12-11d1-ae5b-0000f803a8c2}\\##?#USB#"
        "Vid_ffff&Pid_07e0&MI_01#" + longPrefix +
            "&0001#{28d78fad-5a12-11d1-ae5b-0000f803a8c2}\\#\\Device Parameters\\"};
    const auto& keys = setup.platform.keysRead;
    EXPECT_EQ(std::vector<std::string>(keys.end() - 4, keys.end()), expectedKeys);
    EXPECT_EQ(win::HardwareId(0x1A2B, 0x3C4D), "Vid_1a2b&Pid_3c4d");
}
