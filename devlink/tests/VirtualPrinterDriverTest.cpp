// The virtual backend behind the driver seam: discovery, the device and pipe
// paths, the three control codes, and a host-style transfer in 16-byte pipe
// calls.
#include <cerrno>

#include "Backends.h"
#include "VirtualPrinterTest.h"

namespace vptest {
namespace {

using qv7::DeviceDriver;
using qv7::DriverHandle;
using qv7::FindStep;

constexpr uint32_t kGetVersion = 0x22000C;
constexpr uint32_t kGiveCommand = 0x220010;
constexpr uint32_t kGetCommand = 0x220014;

class VirtualPrinterDriverTest : public ::testing::Test {
protected:
    // A driver on a freshly seeded printer, found and opened.
    void Connect() {
        driver = qv7::MakeVirtualDriver(scratch.Printer());
        const qv7::FindResult found = driver->FindDevice();
        ASSERT_EQ(found.step, FindStep::Found);
        devicePath = found.path;
        device = driver->OpenDevice(devicePath);
        ASSERT_NE(device, nullptr);
    }

    bool Control(uint32_t code, const Bytes& input, Bytes* output, uint32_t* returned) {
        return driver->Control(device, code, input.data(), uint32_t(input.size()), output ? output->data() : nullptr,
                               output ? uint32_t(output->size()) : 0, returned);
    }

    // Opens the pipe and moves size bytes through it in 16-byte calls, as the
    // host does; returns the bytes moved before the first short call.
    uint32_t MoveInChunks(const std::string& pipePath, uint8_t* data, uint32_t size) {
        uint32_t errorNumber = 0;
        DriverHandle pipe = driver->OpenPipe(pipePath, &errorNumber);
        EXPECT_NE(pipe, nullptr);
        const bool sending = pipePath.back() == '1';
        uint32_t done = 0;
        while (done < size) {
            const uint32_t chunk = std::min<uint32_t>(16, size - done);
            uint32_t moved = 0;
            const bool ok = sending ? driver->WritePipe(pipe, data + done, chunk, &moved)
                                    : driver->ReadPipe(pipe, data + done, chunk, &moved);
            if (!ok || moved < chunk) break;
            done += chunk;
        }
        driver->Close(pipe);
        return done;
    }

    uint16_t Status() {
        Bytes status(2);
        uint32_t returned = 0;
        EXPECT_TRUE(Control(kGetCommand, Block(9, 0, 0, 2), &status, &returned));
        return uint16_t(Number(status, 2));
    }

    ScratchFolder scratch;
    std::shared_ptr<DeviceDriver> driver;
    std::string devicePath;
    DriverHandle device = nullptr;
};

TEST_F(VirtualPrinterDriverTest, FindsThePrinterUnderItsAbsoluteFolder) {
    ScratchFolder other;
    ASSERT_TRUE(OpenPrinter(other.Printer()));
    const std::string messy = other / "./printer/";
    auto driver = qv7::MakeVirtualDriver(messy);
    const qv7::FindResult found = driver->FindDevice();
    EXPECT_EQ(found.step, FindStep::Found);
    EXPECT_EQ(found.path, "virtual:" + other.Printer());
    EXPECT_EQ(driver->OpenDevice("virtual:" + other.Printer() + "/elsewhere"), nullptr);
    EXPECT_NE(driver->OpenDevice(found.path), nullptr);
}

TEST_F(VirtualPrinterDriverTest, FindsNoDeviceInABadOrUnpluggedFolder) {
    struct Case {
        const char* what;
        bool seeded;
        std::string file;
        std::string content;
    };
    const Case cases[] = {
        {"not a printer", false, "notes.txt", "hello"},
        {"unplugged", true, "faults.txt", "no-device\n"},
    };
    for (const Case& c : cases) {
        ScratchFolder folder;
        if (c.seeded) {
            ASSERT_TRUE(OpenPrinter(folder.Printer()));
        }
        WriteFile(folder.Printer() + "/" + c.file, c.content);
        auto driver = qv7::MakeVirtualDriver(folder.Printer());
        EXPECT_EQ(driver->FindDevice().step, FindStep::NoDevice) << c.what;
        EXPECT_EQ(driver->OpenDevice("virtual:" + folder.Printer()), nullptr) << c.what;
    }
}

TEST_F(VirtualPrinterDriverTest, AnswersTheControlCodes) {
    Connect();
    Bytes version(4, 0xEE);
    uint32_t returned = 0;
    EXPECT_TRUE(Control(kGetVersion, {}, &version, &returned));
    EXPECT_EQ(version, (Bytes{3, 0, 0, 0}));
    EXPECT_EQ(returned, 4u);

    // The name of symbol slot 1, asked as the host asks it.
    const Bytes attributes = {0x08, 0x00, 0x02, 0x00, 0x00, 0x00, 0x09, 0x00, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    Bytes name(9, 0xEE);
    EXPECT_TRUE(Control(kGetCommand, attributes, &name, &returned));
    EXPECT_EQ(returned, 9u);
    EXPECT_EQ(name, (Bytes{'B', 't', 'm', 'a', 'p', '0', '1', 0, 0}));

    // A reply-bearing block on the give code, or an unknown code, is refused.
    EXPECT_FALSE(Control(kGiveCommand, attributes, nullptr, &returned));
    EXPECT_FALSE(Control(0x220018, attributes, &name, &returned));
    EXPECT_EQ(returned, 0u);
    EXPECT_FALSE(driver->Control(&returned, kGetVersion, nullptr, 0, version.data(), 4, &returned))
        << "not this driver's device handle";
}

TEST_F(VirtualPrinterDriverTest, OpensOnlyTheTwoPipesOfItsDevice) {
    Connect();
    uint32_t errorNumber = 0;
    DriverHandle in = driver->OpenPipe(devicePath + "\\PIPE00", &errorNumber);
    DriverHandle out = driver->OpenPipe(devicePath + "\\PIPE01", &errorNumber);
    EXPECT_NE(in, nullptr);
    EXPECT_NE(out, nullptr);
    EXPECT_NE(in, out);
    for (const std::string& wrong : {devicePath + "\\PIPE02", devicePath + "\\pipe00", devicePath + "PIPE00",
                                     std::string("\\PIPE01"), devicePath + "x\\PIPE01"}) {
        errorNumber = 0;
        EXPECT_EQ(driver->OpenPipe(wrong, &errorNumber), nullptr) << wrong;
        EXPECT_EQ(errorNumber, uint32_t(ENOENT)) << wrong;
    }

    // Each pipe carries one direction only.
    uint8_t chunk[16] = {};
    uint32_t moved = 99;
    EXPECT_FALSE(driver->WritePipe(in, chunk, 16, &moved));
    EXPECT_EQ(moved, 0u);
    EXPECT_FALSE(driver->ReadPipe(out, chunk, 16, &moved));

    auto unfound = qv7::MakeVirtualDriver(scratch.Printer());
    EXPECT_EQ(unfound->OpenPipe(devicePath + "\\PIPE00", &errorNumber), nullptr) << "device never looked for";
}

TEST_F(VirtualPrinterDriverTest, CarriesAWholeGiveAndGetInSixteenByteCalls) {
    Connect();
    const Bytes file = Pattern(300, 11);
    // Give 300 bytes into label slot 4 (type 1, slot index 3).
    const Bytes give = {0x03, 0x00, 0x01, 0x00, 0x03, 0x00, 0x04, 0x00, 0x2C, 0x01, 0x00, 0x00};
    uint32_t returned = 99;
    ASSERT_TRUE(Control(kGiveCommand, give, nullptr, &returned));
    EXPECT_EQ(returned, 0u);

    EXPECT_EQ(MoveInChunks(devicePath + "\\PIPE01", const_cast<uint8_t*>(file.data()), 300), 300u);
    EXPECT_EQ(Status(), 0x0001);
    EXPECT_EQ(Status(), 0x0001);
    EXPECT_EQ(Status(), 0);

    Bytes size(4);
    ASSERT_TRUE(Control(kGetCommand, Block(4, 1, 3, 4), &size, &returned));
    EXPECT_EQ(size, (Bytes{0x2C, 0x01, 0x00, 0x00}));
    Bytes received(300);
    EXPECT_EQ(MoveInChunks(devicePath + "\\PIPE00", received.data(), 300), 300u);
    EXPECT_EQ(received, file);

    Bytes name(9);
    ASSERT_TRUE(Control(kGetCommand, Block(8, 1, 3, 9), &name, &returned));
    EXPECT_EQ(name, (Bytes{'L', 'a', 'b', 'e', 'l', '0', '4', 0, 0}));
}

}  // namespace
}  // namespace vptest
