// The pages: instructions, Vista/7 with Help and Install, Scribeline, Next->.
#include <gtest/gtest.h>

#include "SetupFakes.h"
#include "SetupTexts.h"

using namespace setuptest;
namespace texts = quillory::setup::texts;

namespace {

const std::string kPrefix = "7&2a1b3c4d&0";

// A launcher past its first tick with the application installed.
struct OnPages : LauncherOnWindows {
    explicit OnPages(OsVersion version) {
        SetInstalledVersion("2.01");
        Start(version);
        Tick();
    }
    void Press(std::initializer_list<int> buttons) {
        for (int button : buttons) launcher.OnButton(button);
    }
    void ConnectWithDriver() {
        ConnectPrinter(kPrefix, 1);
        InstallKernelDriver(kPrefix);
    }
    // main: the main page's buttons and Exit only; otherwise the page frame and Back without them.
    bool Shows(bool main) const {
        for (int control : MainPageControls()) {
            if (Visible(control) != main) return false;
        }
        const bool pageButtons = Visible(id::kNext) || Visible(id::kInstall) || Visible(id::kHelp);
        return Visible(id::kExit) == main && Visible(id::kBack) != main && Visible(id::kPageTitle) != main &&
               Visible(id::kPageText) != main && !(main && pageButtons);
    }
};

}  // namespace

TEST(Pages, InstructionPagesClearAddPrinterModeAndBackRestoresTheMainPage) {
    OnPages setup(kWindowsXP);
    EXPECT_TRUE(setup.Shows(true));
    setup.Press({id::kXpScribeline});
    EXPECT_TRUE(setup.launcher.addPrinterMode());
    setup.Press({id::kBack});
    EXPECT_TRUE(setup.Shows(true));
    EXPECT_TRUE(setup.launcher.addPrinterMode());  // Back leaves it alone

    setup.Press({id::kXpUpgrade});
    EXPECT_TRUE(setup.Shows(false));
    EXPECT_FALSE(setup.Visible(id::kNext));
    EXPECT_FALSE(setup.launcher.addPrinterMode());
    EXPECT_EQ(setup.Text(), texts::kXpUpgradeText);
    EXPECT_TRUE(setup.platform.runs.empty());
    setup.Press({id::kBack});
    EXPECT_TRUE(setup.Shows(true));
}

TEST(Pages, InstallingTheKernelDriverOnWindows7LeadsToNext) {
    OnPages setup(kWindows7);
    setup.platform.failuresLeft["pnputil.exe -i -a WIN7\\qv7sys.inf"] = -1;
    setup.Press({id::kVistaDrivers, id::kInstall});
    EXPECT_EQ(setup.platform.runs, (std::vector<Started>{{"pnputil.exe -i -a WIN7\\qv7sys.inf", -1, false, true},
                                                         {"pnputilWin764.exe -i -a WIN7\\qv7sys.inf", -1, false, true}}));
    EXPECT_TRUE(setup.launcher.addPrinterMode());
    EXPECT_TRUE(setup.Visible(id::kNext) && setup.Enabled(id::kNext));
    EXPECT_FALSE(setup.Visible(id::kHelp) || setup.Visible(id::kInstall));
    EXPECT_EQ(setup.Title(), texts::kScribelineInstallTitle);
    EXPECT_EQ(setup.Text(), texts::kTextL);
}

TEST(Pages, WhenNoKernelDriverCommandStartsOrOnXpTheInstallEndsWithTextD) {
    OnPages vista(kVista);
    vista.platform.failuresLeft["pnputil.exe -i -a Vista\\qv7sys.inf"] = -1;
    vista.platform.failuresLeft["pnputilVista64.exe -i -a Vista\\qv7sys.inf"] = -1;
    OnPages xp(kWindowsXP);
    for (OnPages* setup : {&vista, &xp}) {
        setup->Press({id::kVistaDrivers, id::kInstall});
        EXPECT_FALSE(setup->launcher.addPrinterMode());
        EXPECT_FALSE(setup->Visible(id::kNext) || setup->Visible(id::kInstall));
        EXPECT_EQ(setup->Text(), texts::kTextD);
    }
    EXPECT_EQ(vista.platform.Lines(), (std::vector<std::string>{"pnputil.exe -i -a Vista\\qv7sys.inf",
                                                                "pnputilVista64.exe -i -a Vista\\qv7sys.inf"}));
    EXPECT_TRUE(xp.platform.runs.empty());
}

TEST(Pages, VistaPageOffersInstallAndHelpAndWithTheDriverInstalledTheNextStep) {
    OnPages setup(kWindows7);
    setup.Press({id::kVistaDrivers});
    EXPECT_TRUE(setup.Shows(false));
    EXPECT_TRUE(setup.Visible(id::kInstall) && setup.Enabled(id::kInstall) && setup.Visible(id::kHelp));
    EXPECT_FALSE(setup.Visible(id::kNext));
    setup.Press({id::kHelp});
    EXPECT_FALSE(setup.Enabled(id::kInstall));
    EXPECT_EQ(setup.Text(), texts::kVistaHelpText);

    setup.ConnectWithDriver();
    setup.Press({id::kBack, id::kVistaDrivers, id::kInstall});
    EXPECT_TRUE(setup.platform.runs.empty());
    EXPECT_EQ(setup.Title(), texts::kAutoInstallTitle);
    EXPECT_TRUE(setup.launcher.addPrinterMode());
    EXPECT_TRUE(setup.Visible(id::kNext) && setup.Visible(id::kHelp) && setup.Visible(id::kInstall));
    EXPECT_FALSE(setup.Enabled(id::kInstall));

    // The same press again, now in add-printer mode, invites to the next step.
    setup.Press({id::kInstall});
    EXPECT_TRUE(setup.Enabled(id::kNext));
    EXPECT_EQ(setup.Title(), texts::kScribelineInstallTitle);
}

TEST(Pages, ScribelineNeedsTheKernelDriverFirst) {
    OnPages setup(kWindowsXP);
    setup.Press({id::kXpScribeline});
    EXPECT_EQ(setup.Title(), texts::kDriverMissingTitle);
    EXPECT_TRUE(setup.Visible(id::kNext));
    EXPECT_FALSE(setup.Enabled(id::kNext));

    setup.ConnectWithDriver();
    setup.Press({id::kBack, id::kXpScribeline});
    EXPECT_EQ(setup.Title(), texts::kScribelineTitle);
    EXPECT_TRUE(setup.Enabled(id::kNext));
}

TEST(Pages, NextAddsThePrinterOnItsPortAgainAfterBackButNotWithoutItsTool) {
    OnPages setup(kWindows7);
    setup.ConnectWithDriver();
    setup.Press({id::kXpScribeline, id::kNext});
    const std::vector<std::string> expected = {
        "pnputil.exe -a OEMPRINT.inf",
        "rundll32 printui.dll,PrintUIEntry /dl /q /n \"Tandor QV7\"",
        "rundll32 printui.dll,PrintUIEntry /dl /q /n \"Tandor QV7E\"",
        "rundll32 printui.dll,PrintUIEntry /dl /q /n \"QV7\"",
        "rundll32 printui.dll,PrintUIEntry /dl /q /n \"QV7E\"",
        "rundll32 printui.dll,PrintUIEntry /if /q /b \"Tandor QV7E\" /f OEMPRINT.inf /r FILE: /m \"Tandor QV7E\"",
        "rundll32 printui.dll, PrintUIEntry /Xs /q /n \"Tandor QV7E\" comment \"Tandor QV7E Printer\"",
        "rundll32 printui.dll, PrintUIEntry /Xs /q /n \"Tandor QV7E\" PortName \"USB001\""};
    EXPECT_EQ(setup.platform.Lines(), expected);
    EXPECT_EQ(setup.Title(), texts::kPrinterAddedTitle);
    EXPECT_FALSE(setup.Visible(id::kNext));

    setup.platform.runs.clear();
    setup.Press({id::kBack, id::kXpScribeline, id::kNext});
    EXPECT_EQ(setup.platform.Lines(), expected);

    // A printer tool that cannot even be started made no queue.
    setup.platform.failuresLeft[expected[5]] = -1;
    setup.Press({id::kBack, id::kXpScribeline, id::kNext});
    EXPECT_EQ(setup.Title(), texts::kProblemTitle);
    EXPECT_EQ(setup.Text(), texts::kPrinterFailedText);
}

TEST(Pages, PrinterDriverPackageFallbacksAndUnableToAddPrinter) {
    OnPages vista(kVista);
    vista.ConnectPrinter(kPrefix, 12);
    vista.platform.failuresLeft["pnputil.exe -a OEMPRINT.inf"] = -1;
    vista.platform.failuresLeft["pnputilVista64.exe -a OEMPRINT.inf"] = -1;
    vista.Press({id::kXpScribeline, id::kNext});
    const auto lines = vista.platform.Lines();
    ASSERT_EQ(lines.size(), 9u);
    EXPECT_EQ(lines[1], "pnputilVista64.exe -a OEMPRINT.inf");
    EXPECT_EQ(lines[8], "rundll32 printui.dll, PrintUIEntry /Xs /q /n \"Tandor QV7E\" PortName \"USB0012\"");
    EXPECT_EQ(vista.messages.shown, std::vector<std::string>{"Unable to add Printer"});
    EXPECT_EQ(vista.Title(), texts::kPrinterAddedTitle);

    OnPages win7(kWindows7);
    win7.ConnectPrinter("p", 1);
    win7.platform.failuresLeft["pnputil.exe -a OEMPRINT.inf"] = -1;
    win7.Press({id::kXpScribeline, id::kNext});
    EXPECT_EQ(win7.platform.Lines()[1], "pnputilWin764 -a OEMPRINT.inf");
}

TEST(Pages, WithoutAPrinterOrItsPortNoPrinterCommandRuns) {
    for (const bool connected : {false, true}) {
        OnPages setup(kWindowsXP);
        if (connected) setup.ConnectPrinter(kPrefix, std::nullopt);
        setup.Press({id::kXpScribeline, id::kNext});
        EXPECT_EQ(setup.Text(), connected ? texts::kNoPortText : texts::kNotDetectedText);
        EXPECT_FALSE(setup.Visible(id::kNext));
        EXPECT_TRUE(setup.platform.runs.empty());
    }
}

TEST(Pages, RegistryPathsCarryTheWholeParentIdPrefix) {
    OnPages setup(kWindowsXP);
    const std::string longPrefix(300, 'a');
    setup.ConnectPrinter(longPrefix, 3);
    setup.Press({id::kXpScribeline, id::kNext});
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
