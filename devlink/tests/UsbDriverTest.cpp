// The driver seam mapped onto USB, checked at the bus: a UsbDriver over the
// loopback transport, with a recorder in between and the emulated printer at
// the far end. Command blocks are written out byte for byte. Then the ids a
// user names and where they come from, the paths the backend hands out, and
// libusb on this machine.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cerrno>
#include <filesystem>
#include <fstream>

#include "LoopbackUsbTransport.h"
#include "RecordingUsbTransport.h"
#include "TempFolder.h"
#include "UsbDevicePath.h"
#include "UsbDriver.h"
#include "UsbIdSetting.h"
#include "qv7/VirtualPrinter.h"

namespace {

using Bytes = std::vector<uint8_t>;
using qv7::FindStep;
using qv7::UsbAddress;
using qv7::UsbIds;
using qv7test::RecordingUsbTransport;

constexpr uint32_t kGetCode = 0x220014;
const Bytes kFileTypes{0x05, 0, 0, 0, 0, 0, 0x02, 0, 0, 0};

class UsbDriverTest : public ::testing::Test {
protected:
    qv7test::TempFolder folder;
    std::shared_ptr<qv7::VirtualPrinter> printer;
    std::shared_ptr<qv7::LoopbackUsbTransport> loopback;
    std::shared_ptr<RecordingUsbTransport> bus;
    std::unique_ptr<qv7::UsbDriver> driver;
    std::string path;

    void SetUp() override { Attach(""); }

    // (Re)loads the printer, told to misbehave as faults says, on a fresh bus.
    void Attach(const std::string& faults, std::optional<qv7::UsbIds> ids = qv7::kPlaceholderUsbIds) {
        driver.reset();
        printer.reset();
        std::ofstream(folder / "faults.txt") << faults << "\n";
        std::string error;
        printer = qv7::VirtualPrinter::Open(folder.path(), &error);
        ASSERT_NE(printer, nullptr) << error;
        loopback = std::make_shared<qv7::LoopbackUsbTransport>(printer);
        bus = std::make_shared<RecordingUsbTransport>(loopback);
        driver = std::make_unique<qv7::UsbDriver>(bus, ids);
    }

    qv7::DriverHandle OpenPrinter() {
        const qv7::FindResult found = driver->FindDevice();
        EXPECT_EQ(found.step, FindStep::Found);
        path = found.path;
        return driver->OpenDevice(path);
    }

    qv7::DriverHandle Pipe(const std::string& name, uint32_t* errorNumber = nullptr) {
        uint32_t ignored = 0;
        return driver->OpenPipe(path + "\\" + name, errorNumber ? errorNumber : &ignored);
    }
};

TEST_F(UsbDriverTest, EachWayOfNotFindingThePrinterHasItsStep) {
    struct Case {
        const char* what;
        std::optional<qv7::UsbIds> ids;
        const char* faults;
        int startError, listError;
        FindStep expected;
    } const cases[] = {
        {"other ids", qv7::UsbIds{0x1234, 0x5678}, "", 0, 0, FindStep::NoDevice},
        {"printer unplugged", qv7::kPlaceholderUsbIds, "no-device", 0, 0, FindStep::NoDevice},
        {"usb stack down", qv7::kPlaceholderUsbIds, "", EACCES, 0, FindStep::NoInterfaceClass},
        {"device list unavailable", qv7::kPlaceholderUsbIds, "", 0, ENOMEM, FindStep::NoInterfaceClass},
        {"ids unreadable", std::nullopt, "", 0, 0, FindStep::NoInterfaceClass},
    };
    for (const Case& c : cases) {
        Attach(c.faults, c.ids);
        bus->startError = c.startError;
        bus->listError = c.listError;
        const qv7::FindResult found = driver->FindDevice();
        EXPECT_EQ(found.step, c.expected) << c.what;
        EXPECT_EQ(found.path, "") << c.what;
    }
}

// What the device answers is its own: a reply shorter than asked is the
// caller's to judge, a longer one never runs past the buffer.
TEST_F(UsbDriverTest, ReplyBearingCommandFailures) {
    struct Case {
        const char* what;
        const char* faults;
        int replyStageError;
        bool ok;
        uint32_t returned;
    } const cases[] = {
        {"short reply", "reply-size 5 1", 0, true, 1},
        {"a longer reply is cut to wLength", "reply-size 5 4", 0, true, 2},
        {"failed reply stage", "", EPIPE, false, 0},
    };
    for (const Case& c : cases) {
        Attach(c.faults);
        bus->controlReadError = c.replyStageError;
        qv7::DriverHandle device = OpenPrinter();
        ASSERT_NE(device, nullptr) << c.what;
        Bytes output(3, 0xEE);
        uint32_t returned = 99;
        EXPECT_EQ(driver->Control(device, kGetCode, kFileTypes.data(), static_cast<uint32_t>(kFileTypes.size()),
                                  output.data(), 2, &returned),
                  c.ok)
            << c.what;
        EXPECT_EQ(returned, c.returned) << c.what;
        EXPECT_EQ(output[2], 0xEE) << c.what;
    }
}

TEST_F(UsbDriverTest, EachPipeTakesItsOwnDirectionsTimeLimit) {
    ASSERT_NE(OpenPrinter(), nullptr);
    qv7::DriverHandle out = Pipe("PIPE01");
    qv7::DriverHandle in = Pipe("PIPE00");
    uint8_t buffer[16] = {};
    uint32_t moved = 0;

    // Nothing is announced, so each call runs out of time; only its limit matters here.
    driver->WritePipe(out, buffer, 16, &moved);
    driver->SetPipeTimeouts(out, qv7::PipeTimeouts{11, 22, 33, 44, 55});
    driver->SetPipeTimeouts(in, qv7::PipeTimeouts{11, 22, 33, 44, 55});
    driver->WritePipe(out, buffer, 16, &moved);
    driver->ReadPipe(in, buffer, 16, &moved);
    driver->SetPipeTimeouts(in, qv7::PipeTimeouts{0xFFFFFFFF, 0xFFFFFFFF, 5000, 0, 0});
    driver->ReadPipe(in, buffer, 16, &moved);

    std::vector<unsigned> limits;
    for (const qv7test::RecordedBulk& call : bus->bulks) limits.push_back(call.timeoutMs);
    EXPECT_EQ(limits, (std::vector<unsigned>{5000, 55, 33, 5000}));
}

TEST_F(UsbDriverTest, KernelDriverIsDetachedForTheSessionAndGivenBackAfterTheLastHandleOrARefusedClaim) {
    bus->kernelDriverBound = true;
    qv7::DriverHandle device = OpenPrinter();
    ASSERT_NE(device, nullptr);
    qv7::DriverHandle pipe = Pipe("PIPE01");
    ASSERT_NE(pipe, nullptr);
    EXPECT_FALSE(bus->kernelDriverBound);
    driver->Close(device);
    EXPECT_FALSE(bus->kernelDriverBound) << "the open pipe still needs the interface";
    driver->Close(pipe);
    EXPECT_EQ(bus->steps.back(), "close");
    EXPECT_TRUE(bus->kernelDriverBound);

    bus->claimError = EBUSY;
    EXPECT_EQ(OpenPrinter(), nullptr);
    EXPECT_TRUE(bus->kernelDriverBound);
    EXPECT_EQ(bus->steps.back(), "close");
    EXPECT_TRUE(driver->HeldElsewhere()) << "a claim refused as busy means another program has the printer";
    uint32_t errorNumber = 0;
    EXPECT_EQ(Pipe("PIPE00", &errorNumber), nullptr);
    EXPECT_EQ(errorNumber, static_cast<uint32_t>(EBUSY));
}

TEST_F(UsbDriverTest, PipesTakeTheBulkEndpointsOfTheDescriptor) {
    constexpr uint8_t kInterrupt = 0x03;
    struct Case {
        const char* what;
        std::vector<qv7::UsbEndpoint> endpoints;
        std::vector<int> used;  // by a read on PIPE00, then a write on PIPE01; a missing pipe moves nothing
    } const cases[] = {
        {"interrupt endpoints are passed over",
         {{0x83, kInterrupt, 8}, {0x04, kInterrupt, 8}, {0x81, 0x02, 64}, {0x02, 0x02, 64}}, {0x81, 0x02}},
        {"no bulk IN", {{0x83, kInterrupt, 8}, {0x02, 0x02, 64}}, {0x02}},
        {"no endpoints at all", {}, {}},
    };
    for (const Case& c : cases) {
        Attach("");
        bus->editDescriptor = [&](qv7::UsbInterface* described) { described->endpoints = c.endpoints; };
        ASSERT_NE(OpenPrinter(), nullptr) << c.what;
        uint32_t errorNumber = 0, moved = 0;
        uint8_t buffer[4] = {};
        if (qv7::DriverHandle in = Pipe("PIPE00", &errorNumber)) {
            driver->ReadPipe(in, buffer, 4, &moved);
        } else {
            EXPECT_EQ(errorNumber, uint32_t{ENOENT}) << c.what;
        }
        if (qv7::DriverHandle out = Pipe("PIPE01")) driver->WritePipe(out, buffer, 4, &moved);
        std::vector<int> used;
        for (const qv7test::RecordedBulk& call : bus->bulks) used.push_back(call.endpoint);
        EXPECT_EQ(used, c.used) << c.what;
    }
}

// ---- names ------------------------------------------------------------------------

TEST(UsbIds, OnlyTwoHexNumbersOfAtMostFourDigitsAreRead) {
    struct Case {
        const char* text;
        std::optional<UsbIds> expected;
    } const cases[] = {
        {"04b8:0e03", UsbIds{0x04B8, 0x0E03}},
        {"1:2", UsbIds{0x0001, 0x0002}},
        {"04b8", std::nullopt},
        {"104b8:0e03", std::nullopt},
        {"0x4b8:0e03", std::nullopt},
        {" 04b8:0e03", std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(qv7::ParseUsbIds(c.text), c.expected) << c.text;
}

// The ids' sources, each in a file of the test's own: the machine-wide file,
// the user's settings, the environment.
class UsbIdSources : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directory(folder / "Orvale");
        environment.Unset("QUILLORY_USB_ID");
    }
    // "source file ids|problem" of the setting read now.
    static std::string Read() {
        const qv7::UsbIdSetting setting = qv7::ReadUsbIdSetting();
        const char* sources[] = {"placeholder", "machine", "user", "environment"};
        return std::string(sources[static_cast<int>(setting.source)]) + " " + setting.file + " " +
               (setting.ids ? qv7::FormatUsbIds(*setting.ids) : setting.problem);
    }

    qv7test::TempFolder folder;
    std::string machineFile = folder / "machine.conf";
    std::string userFile = folder / "Orvale/Quillory.conf";
    qv7test::ScopedEnvironment environment{{"QUILLORY_MACHINE_SETTINGS", machineFile}, {"XDG_CONFIG_HOME", folder.path()}};
};

TEST_F(UsbIdSources, TheEnvironmentWinsOverTheUsersSettingsAndTheyOverTheMachines) {
    EXPECT_EQ(Read(), "placeholder  ffff:07e0");
    std::ofstream(machineFile) << "[General]\nVersion=2.01\nUsbId=04b8:0E03\ndir=/usr/bin\n";
    EXPECT_EQ(Read(), "machine " + machineFile + " 04b8:0e03");
    std::ofstream(userFile) << "[Settings]\ncx=345\nUsbId=\"1d6b:0104\"\n";
    EXPECT_EQ(Read(), "user " + userFile + " 1d6b:0104");
    environment.Set("QUILLORY_USB_ID", "");
    EXPECT_EQ(Read(), "user " + userFile + " 1d6b:0104") << "an empty variable says nothing";
    environment.Set("QUILLORY_USB_ID", "1a2b:3c4d");
    EXPECT_EQ(Read(), "environment  1a2b:3c4d");
    // A value that cannot be used is not passed over for another source's.
    environment.Set("QUILLORY_USB_ID", "printer");
    EXPECT_EQ(Read(), "environment  it is not vvvv:pppp, two hex numbers of one to four digits");
}

TEST_F(UsbIdSources, AValueIsReadAsQSettingsWritesItAndOneThatCannotBeReadSaysWhy) {
    struct Case {
        const char* file;
        const char* read;
    } const cases[] = {
        {"\xEF\xBB\xBF[Settings]\r\nUsbId=1111:2222\r\nUsbId=\\x31\\x61\\x32\\x62:3c4d\r\n", "1a2b:3c4d"},
        {"[Settings]\nUsbId=\"1a2b:3c4d\n", "a quotation mark is not closed"},
        {"[Settings]\nUsbId=1a2b,3c4d\n", "an unquoted comma makes it a list"},
        {"[Other]\nUsbId=1a2b:3c4d\n[Settings]\nUsbId=\n", "ffff:07e0"},
    };
    for (const Case& c : cases) {
        std::ofstream(userFile, std::ios::binary | std::ios::trunc) << c.file;
        const std::string read = Read();
        EXPECT_EQ(read.substr(read.find(' ', read.find(' ') + 1) + 1), c.read) << c.file;
    }
    // A pipe in the file's place would hold the program for ever.
    std::filesystem::remove(userFile);
    ASSERT_EQ(mkfifo(userFile.c_str(), 0600), 0);
    EXPECT_EQ(Read(), "placeholder  ffff:07e0");
}

TEST(UsbDevicePath, OnlyBusAndAddressUpTo255AreTakenAndWhatIsHandedOutReadsBack) {
    struct Case {
        const char* path;
        std::optional<UsbAddress> expected;
    } const cases[] = {
        {"usb:1-7", UsbAddress{1, 7}},
        {"usb:256-1", std::nullopt},
        {"usb:001-007x", std::nullopt},
        {"usb:1", std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(qv7::ParseUsbDevicePath(c.path), c.expected) << c.path;
    // What is handed out reads back.
    for (const UsbAddress at : {UsbAddress{0, 0}, UsbAddress{3, 42}, UsbAddress{255, 255}}) {
        EXPECT_EQ(qv7::ParseUsbDevicePath(qv7::FormatUsbDevicePath(at)), at) << qv7::FormatUsbDevicePath(at);
    }
}

}  // namespace
