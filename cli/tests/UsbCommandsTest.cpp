// qv7 as users run it on a printer on USB: each command is a program of its
// own, which inherits umockdev's preload library and the testbed this test
// hosts, and reaches the emulated printer through libusb.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "EmulatedUsbPrinter.h"
#include "ProgramRun.h"
#include "QV7_Sys_API.h"
#include "TempFolder.h"
#include "qv7/VirtualPrinter.h"

namespace {

using qv7test::Outcome;
using qv7test::ReadBytes;
using qv7test::TempFolder;

class Qv7OverUsb : public ::testing::Test {
protected:
    void SetUp() override {
        printer = std::make_unique<qv7test::EmulatedUsbPrinter>(folder / "printer", qv7::kHighSpeedBulkPacket);
        if (!printer->Unavailable().empty()) GTEST_SKIP() << printer->Unavailable();
        qv7test::ChooseEmulatedUsbPrinter(environment);
        environment.Set("XDG_DATA_HOME", folder / "data");
    }

    // qv7 with these arguments, in the test's folder, nobody at its input.
    Outcome Qv7(std::initializer_list<std::string> arguments) {
        std::vector<std::string> words{QV7_PROGRAM};
        words.insert(words.end(), arguments);
        return qv7test::RunProgram(words, folder.path());
    }

    TempFolder folder;
    std::unique_ptr<qv7test::EmulatedUsbPrinter> printer;
    qv7test::ScopedEnvironment environment;
};

TEST_F(Qv7OverUsb, ItsOwnProcessReachesThePrinterOverLibusbAsOverTheVirtualBackend) {
    // The transfers themselves are compared over both backends in the
    // emulated USB link tests; here the program finds the bus by itself.
    const std::string twin = "virtual:" + (folder / "twin");
    for (const char* command : {"info", "list"}) {
        const Outcome overUsb = Qv7({command});
        EXPECT_EQ(overUsb.code, 0) << command << ": " << overUsb.err;
        EXPECT_EQ(overUsb.out, Qv7({"--device", twin, command}).out) << command;
    }

    std::filesystem::create_directory(folder / "fetched");
    const Outcome got = Qv7({"get", "data", "1", "fetched"});
    ASSERT_EQ(got.code, 0) << got.err;
    EXPECT_EQ(ReadBytes(folder / "fetched/PRICES.dat"), ReadBytes(folder / "twin/slots/DAT/01.data"));
}

TEST_F(Qv7OverUsb, ACommandWhileAnotherProgramHoldsThePrinterSaysItIsBusy) {
    {
        CQV7_Sys_API holder;
        ASSERT_FALSE(holder.IsError()) << holder.GetError();
        const Outcome info = Qv7({"info"});
        EXPECT_EQ(info.code, 1);
        EXPECT_NE(info.err.find("Device Busy, used by another program"), std::string::npos) << info.err;
    }
    EXPECT_EQ(Qv7({"info"}).code, 0);
}

TEST_F(Qv7OverUsb, CandidatesAreListedUnopenedAndTheIdsTheUserSetsGiveTheDoctorAndTheRule) {
    const Outcome listed = Qv7({"doctor", "--candidates"});
    EXPECT_EQ(listed.code, 0) << listed.err;
    EXPECT_EQ(listed.out, "usb:001-007  ffff:7e07  QV7E Label Printer\\x1b]0;owned\\x07  (the ids set now)\n");
    EXPECT_EQ(printer->Openings(), 0u) << "nothing is sent to a device that may be no printer";

    // The ids in the user's settings rather than in the environment.
    environment.Unset("QUILLORY_USB_ID");
    environment.Set("QUILLORY_MACHINE_SETTINGS", folder / "machine.conf");
    environment.Set("XDG_CONFIG_HOME", folder.path());
    const std::string settings = folder / "Orvale/Quillory.conf";
    std::filesystem::create_directory(folder / "Orvale");
    std::ofstream(settings) << "[Settings]\nUsbId=ffff:7e07\n";
    Outcome doctor = Qv7({"doctor"});
    EXPECT_EQ(doctor.code, 0) << doctor.out;
    EXPECT_NE(doctor.out.find("ffff:7e07 from UsbId in your settings (" + settings + ")"), std::string::npos)
        << doctor.out;
    const Outcome rule = Qv7({"udev-rule"});
    EXPECT_EQ(rule.code, 0) << rule.err;
    EXPECT_NE(rule.out.find("ATTR{idProduct}==\"7e07\""), std::string::npos) << rule.out;

    // Nothing set: the placeholder is no printer's, and its rule is installed already.
    std::filesystem::remove(settings);
    doctor = Qv7({"doctor"});
    EXPECT_EQ(doctor.code, 1) << doctor.out;
    EXPECT_EQ(Qv7({"udev-rule"}).code, 1);
}

}  // namespace
