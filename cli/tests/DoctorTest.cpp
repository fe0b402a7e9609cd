// qv7 doctor over a bus that misbehaves in each of the ways a user meets:
// the emulated printer behind the usb backend's loopback, with the recording
// transport refusing what a real machine would refuse.
#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include "LoopbackUsbTransport.h"
#include "PrinterDoctor.h"
#include "QV7_Sys_API.h"
#include "RecordingUsbTransport.h"
#include "TempFolder.h"
#include "UdevRule.h"

namespace {

using qv7cli::DoctorReport;
using qv7test::TempFolder;

// "check" of every line, then the last line's detail and fix, for messages.
std::string Summary(const DoctorReport& report) {
    std::string text;
    for (const auto& check : report.checks) text += check.check + (check.ok ? " ok, " : " FAILED, ");
    if (!report.checks.empty()) text += report.checks.back().detail + " / " + report.checks.back().fix;
    return text;
}

const qv7cli::DoctorCheck& Last(const DoctorReport& report) {
    return report.checks.back();
}

class UsbDoctor : public ::testing::Test {
protected:
    // The bus with the seeded emulated printer on it, faults as given.
    void Plug(const std::string& faults = {}) {
        std::string error;
        { auto seed = qv7::VirtualPrinter::Open(folder / "printer", &error); }
        if (!faults.empty()) std::ofstream(folder / "printer/faults.txt") << faults;
        std::shared_ptr<qv7::VirtualPrinter> printer = qv7::VirtualPrinter::Open(folder / "printer", &error);
        ASSERT_TRUE(printer) << error;
        bus = std::make_shared<qv7test::RecordingUsbTransport>(
            std::make_shared<qv7::LoopbackUsbTransport>(printer, kPrinterIds));
    }
    // The doctor looking for ids the user set in the environment.
    DoctorReport Run(const std::string& ids = "04b8:0e03") {
        qv7::UsbIdSetting setting{qv7::UsbIdSource::Environment, {}, ids, qv7::ParseUsbIds(ids), "not ids"};
        return Run(setting);
    }
    DoctorReport Run(const qv7::UsbIdSetting& ids) { return qv7cli::DiagnoseUsb({bus, ids, {rules}}); }

    static constexpr qv7::UsbIds kPrinterIds{0x04B8, 0x0E03};
    TempFolder folder;
    std::string rules = folder / "rules";
    std::shared_ptr<qv7test::RecordingUsbTransport> bus;
};

TEST_F(UsbDoctor, APrinterThatAnswersIsUsableAndLeftUnclaimed) {
    Plug();
    const DoctorReport report = Run();
    ASSERT_TRUE(report.Usable()) << Summary(report);
    EXPECT_EQ(Last(report).check, "printer");
    EXPECT_EQ(std::count(bus->steps.begin(), bus->steps.end(), "claim 0"),
              std::count(bus->steps.begin(), bus->steps.end(), "release 0"));
}

// Ids that cannot be read or that match nothing stop the checks before
// anything on the bus is opened.
TEST_F(UsbDoctor, IdsThatCannotBeUsedStopTheChecks) {
    Plug();
    EXPECT_EQ(Last(Run(qv7::UsbIdSetting{})).check, "ids");
    const DoctorReport unreadable = Run(
        qv7::UsbIdSetting{qv7::UsbIdSource::MachineSettings, "/etc/q.conf", "\"04b8", std::nullopt, "not closed"});
    EXPECT_EQ(Last(unreadable).check, "ids") << Summary(unreadable);
    const DoctorReport none = Run("1a2b:3c4d");
    EXPECT_FALSE(none.Usable());
    EXPECT_EQ(Last(none).check, "bus") << Summary(none);
    EXPECT_TRUE(bus->steps.empty()) << "nothing is opened when nothing is found";
}

TEST_F(UsbDoctor, PermissionDeniedSaysWhetherTheAccessRuleIsInstalled) {
    Plug();
    bus->openError = EACCES;
    DoctorReport report = Run();
    EXPECT_FALSE(report.Usable());
    EXPECT_EQ(Last(report).check, "permission");
    EXPECT_NE(Last(report).detail.find("no udev rule"), std::string::npos) << Summary(report);

    // The rule qv7 udev-rule prints is one the doctor recognises...
    std::filesystem::create_directory(rules);
    std::ofstream(rules + "/60-quillory.rules") << qv7cli::UdevRuleFile(kPrinterIds);
    report = Run();
    EXPECT_NE(Last(report).detail.find("60-quillory.rules gives it"), std::string::npos) << Summary(report);
    // ...and of the same form as the one the package installs, which names
    // the placeholder and no other ids.
    std::ifstream installed(QUILLORY_DIST_DIR "/60-quillory.rules");
    std::string line;
    while (std::getline(installed, line) && line.rfind('#', 0) == 0) {
    }
    EXPECT_EQ(line, qv7cli::UdevRuleLine(qv7::kPlaceholderUsbIds));
    EXPECT_EQ(qv7cli::FindAccessRule({QUILLORY_DIST_DIR}, {0x1a2b, 0x07e0}), "");
}

TEST_F(UsbDoctor, AnInterfaceHeldElsewhereIsNamedAndNothingIsLeftDetached) {
    Plug();
    bus->claimError = EBUSY;
    bus->kernelDriverBound = true;
    const DoctorReport report = Run();
    EXPECT_EQ(Last(report).check, "interface");
    EXPECT_NE(Last(report).detail.find("kernel driver"), std::string::npos) << Summary(report);
    EXPECT_TRUE(bus->kernelDriverBound) << "the driver is given back";

    // A driver that lets go is no fault.
    bus->claimError = 0;
    EXPECT_TRUE(Run().Usable());
    EXPECT_TRUE(bus->kernelDriverBound);
}

TEST_F(UsbDoctor, WrongRepliesAndTheFirmwareModeAreToldApart) {
    Plug("reply-size 5 1\n");
    DoctorReport report = Run();
    EXPECT_FALSE(report.Usable());
    EXPECT_EQ(Last(report).check, "printer");
    EXPECT_EQ(Last(report).detail.find("firmware transfer mode"), std::string::npos) << Summary(report);

    // The version answers, file commands are stalled.
    Plug();
    bus->controlReadError = EPIPE;
    bus->failingControlRequest = 5;
    report = Run();
    EXPECT_FALSE(report.Usable());
    EXPECT_NE(Last(report).detail.find("firmware transfer mode"), std::string::npos) << Summary(report);
}

class VirtualDoctor : public ::testing::Test {
protected:
    DoctorReport Run() { return qv7cli::DiagnoseVirtual(printer); }
    TempFolder folder;
    std::string printer = folder / "printer";
    qv7test::ScopedEnvironment environment{{"QUILLORY_DEVICE", "virtual:" + printer}};
};

// The doctor only looks: a folder that is no printer yet stays as it is,
// half a slot or a complete store not yet in place is told of and left for
// the next connection, and a folder another program holds is not read.
TEST_F(VirtualDoctor, ChangesNothingAndReadsNothingAnotherProgramHolds) {
    EXPECT_TRUE(Run().Usable());
    EXPECT_FALSE(std::filesystem::exists(printer)) << "the doctor changes nothing";

    std::filesystem::create_directory(printer);
    std::ofstream(printer + "/notes.txt") << "not a printer\n";
    DoctorReport report = Run();
    EXPECT_FALSE(report.Usable());
    EXPECT_EQ(Last(report).check, "folder") << Summary(report);
    EXPECT_EQ(qv7test::EntriesOf(printer), std::vector<std::string>{"notes.txt"});

    std::filesystem::remove(printer + "/notes.txt");
    std::string error;
    { auto seed = qv7::VirtualPrinter::Open(printer, &error); }
    std::ofstream(printer + "/slots/QV7/09.data") << "half a slot";
    std::filesystem::create_directory(printer + "/slots/DAT/.04.ready");
    std::ofstream(printer + "/slots/DAT/.04.ready/04.data") << "stored";
    std::ofstream(printer + "/slots/DAT/.04.ready/04.name") << "STORED\n";
    const std::vector<std::string> before = qv7test::EntriesOf(printer + "/slots/QV7");
    report = Run();
    EXPECT_TRUE(report.Usable()) << Summary(report);
    ASSERT_GE(report.checks.size(), 2u);
    EXPECT_EQ(report.checks[0].check, "mend");
    EXPECT_NE(report.checks[0].detail.find(".04.ready"), std::string::npos) << Summary(report);
    EXPECT_NE(report.checks[1].detail.find("09.data has no 09.name"), std::string::npos) << Summary(report);
    EXPECT_EQ(qv7test::EntriesOf(printer + "/slots/QV7"), before);
    EXPECT_TRUE(std::filesystem::exists(printer + "/slots/DAT/.04.ready/04.data"));

    {
        CQV7_Sys_API holder;
        ASSERT_FALSE(holder.IsError()) << holder.GetError();
        std::ofstream(printer + "/slots/QV7/10.data") << "stored meanwhile";
        const DoctorReport busy = Run();
        EXPECT_FALSE(busy.Usable());
        EXPECT_NE(Last(busy).detail.find("in use by another program"), std::string::npos) << Summary(busy);
        EXPECT_TRUE(std::filesystem::exists(printer + "/slots/QV7/10.data"));
    }

    std::ofstream(printer + "/faults.txt") << "no-device\n";
    report = Run();
    EXPECT_EQ(Last(report).check, "folder");
    EXPECT_NE(Last(report).fix.find("no-device"), std::string::npos) << Summary(report);
}

}  // namespace
