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
    void ConnectWithDriver() {
        ConnectPrinter(kPrefix, 1);
        platform.texts[{win::FileTransferInterfaceKey(kHardwareId, kPrefix), "Driver"}] = "{x}\\0012";
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
    EXPECT_TRUE(setup.platform.runs.empty());
    setup.Press({id::kBack});
    EXPECT_TRUE(setup.Shows(true));
}

TEST(Pages, TheKernelDriverInstallFallsBackToThe64BitToolAndEndsWithTextDWhenNoneStarts) {
    OnPages win7(kWindows7);
    win7.platform.failuresLeft["pnputil.exe -i"] = -1;
    win7.Press({id::kVistaDrivers, id::kInstall});
    EXPECT_EQ(win7.platform.runs.size(), 2u);
    EXPECT_TRUE(win7.launcher.addPrinterMode());
    EXPECT_TRUE(win7.Visible(id::kNext) && win7.Enabled(id::kNext));
    EXPECT_FALSE(win7.Visible(id::kHelp) || win7.Visible(id::kInstall));
    EXPECT_EQ(win7.Text(), texts::kTextL);

    OnPages vista(kVista);
    vista.platform.failuresLeft["-i -a"] = -1;
    OnPages xp(kWindowsXP);
    for (OnPages* setup : {&vista, &xp}) {
        setup->Press({id::kVistaDrivers, id::kInstall});
        EXPECT_FALSE(setup->launcher.addPrinterMode());
        EXPECT_FALSE(setup->Visible(id::kNext) || setup->Visible(id::kInstall));
        EXPECT_EQ(setup->Text(), texts::kTextD);
    }
    EXPECT_EQ(vista.platform.runs.size(), 2u);
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

TEST(Pages, NextAddsThePrinterAgainAfterBackButAPrinterToolThatCannotStartGivesTheProblemPage) {
    OnPages setup(kWindows7);
    setup.ConnectWithDriver();
    setup.Press({id::kXpScribeline, id::kNext});
    const std::vector<std::string> first = setup.platform.runs;
    EXPECT_EQ(setup.Title(), texts::kPrinterAddedTitle);
    EXPECT_FALSE(setup.Visible(id::kNext));

    setup.platform.runs.clear();
    setup.Press({id::kBack, id::kXpScribeline, id::kNext});
    EXPECT_EQ(setup.platform.runs, first);

    setup.platform.failuresLeft["PrintUIEntry /if"] = -1;
    setup.Press({id::kBack, id::kXpScribeline, id::kNext});
    EXPECT_EQ(setup.Title(), texts::kProblemTitle);
    EXPECT_EQ(setup.Text(), texts::kPrinterFailedText);
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

TEST(Pages, ALongParentIdPrefixIsKeptWhole) {
    OnPages setup(kWindowsXP);
    const std::string longPrefix(300, 'a');
    setup.ConnectPrinter(longPrefix, 3);
    setup.Press({id::kXpScribeline, id::kNext});
    EXPECT_EQ(setup.launcher.parentIdPrefix(), longPrefix);
    EXPECT_EQ(setup.Title(), texts::kPrinterAddedTitle);
}
