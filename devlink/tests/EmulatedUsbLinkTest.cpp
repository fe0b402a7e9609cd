// The library through the real usb backend: libusb, the kernel's USB interface
// as umockdev emulates it, and a QV7E behind it that runs the virtual
// printer's logic, at full-speed and high-speed packet sizes. Then the faults
// a real bus has, as the user is told of them.
#include <poll.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "EmulatedUsbPrinter.h"
#include "QV7_Sys_API.h"
#include "TempFolder.h"
#include "qv7/VirtualPrinter.h"

namespace {

using qv7test::EmulatedUsbPrinter;
using qv7test::ReadBytes;
using qv7test::ReadText;
using qv7test::TempFolder;
using qv7test::UsbFault;
using qv7test::WriteBytes;

// A fresh emulated printer in the test's folder, taken by every connection the
// test makes.
class EmulatedUsbTest : public ::testing::Test {
protected:
    virtual uint16_t PacketSize() const { return qv7::kHighSpeedBulkPacket; }
    void SetUp() override {
        printer = std::make_unique<EmulatedUsbPrinter>(folder / "printer", PacketSize());
        if (!printer->Unavailable().empty()) GTEST_SKIP() << printer->Unavailable();
        qv7test::ChooseEmulatedUsbPrinter(environment);
    }

    TempFolder folder;
    std::unique_ptr<EmulatedUsbPrinter> printer;
    qv7test::ScopedEnvironment environment;
};

// The parameter is the printer's bulk packet size.
class EmulatedUsb : public EmulatedUsbTest, public ::testing::WithParamInterface<uint16_t> {
protected:
    uint16_t PacketSize() const override { return GetParam(); }
};

INSTANTIATE_TEST_SUITE_P(FullAndHighSpeed, EmulatedUsb,
                         ::testing::Values(qv7::kFullSpeedBulkPacket, qv7::kHighSpeedBulkPacket),
                         [](const ::testing::TestParamInfo<uint16_t>& info) {
                             return "Packets" + std::to_string(info.param);
                         });

// What a user's session asks of the printer: the catalogue as info and list
// read it, a label sent and fetched back, a firmware image sent (an upgrade)
// and fetched.
std::string UserSession(const TempFolder& folder) {
    CQV7_Sys_API printer;
    uint32_t version = 0;
    uint16_t types = 0;
    printer.GetVersion(&version);
    printer.GetFileTypes(&types);
    for (uint16_t type = 0; type < types; ++type) {
        QV7_FILE_TYPE_ATTRIBUTES typeName{};
        uint16_t slots = 0;
        printer.GetFileTypeAttributes(type, &typeName);
        printer.GetFileMax(type, &slots);
        for (uint16_t slot = 0; slot < slots; ++slot) {
            QV7_FILE_ATTRIBUTES name{};
            printer.GetFileAttributes(type, slot, &name);
        }
    }
    printer.GiveFile(1, 2, folder / "label.qv7", nullptr);
    printer.GetFile(1, 2, folder / "label-back.qv7", nullptr);
    printer.GiveFirmware(folder / "firmware.bin", nullptr);
    printer.GetFirmware(folder / "firmware-back.bin", nullptr);
    return printer.GetError();
}

TEST_P(EmulatedUsb, ASessionAsksTheSameOfTheDeviceAsOverTheVirtualBackend) {
    {
        std::string error;
        ASSERT_TRUE(qv7::VirtualPrinter::Open(folder / "twin", &error)) << error;
    }
    WriteBytes(folder / "label.qv7", qv7test::Pattern(1000));
    WriteBytes(folder / "firmware.bin", qv7test::Pattern(513, 5));
    environment.Set("QUILLORY_TRACE", folder / "usb.trace");
    ASSERT_EQ(UserSession(folder), "");
    EXPECT_EQ(ReadBytes(folder / "label-back.qv7"), qv7test::Pattern(1000));
    EXPECT_EQ(ReadBytes(folder / "firmware-back.bin"), qv7test::Pattern(513, 5));

    environment.Set("QUILLORY_DEVICE", "virtual:" + (folder / "twin"));
    environment.Set("QUILLORY_TRACE", folder / "virtual.trace");
    ASSERT_EQ(UserSession(folder), "");

    const std::string overUsb = ReadText(folder / "usb.trace");
    EXPECT_NE(overUsb.find("open usb:001-007 ok\ncontrol 0x22000c in= out=4 returned=4 ok\n"), std::string::npos);
    // The same lines, the device's own path aside.
    std::string overVirtual = ReadText(folder / "virtual.trace");
    const std::string virtualPath = "virtual:" + (folder / "twin");
    for (size_t at; (at = overVirtual.find(virtualPath)) != std::string::npos;) {
        overVirtual.replace(at, virtualPath.size(), qv7test::kEmulatedUsbPath);
    }
    EXPECT_EQ(overUsb, overVirtual);
}

// Sizes around a chunk and a high-speed packet, and a large file: the reads
// are served from whole packets, of which the last is short or empty.
TEST_P(EmulatedUsb, EverySizeComesBackByteForByte) {
    for (const uint32_t size : {1u, 15u, 16u, 17u, 511u, 512u, 513u, 1048576u}) {
        const std::vector<uint8_t> bytes = qv7test::Pattern(size, 3);
        WriteBytes(folder / "sent.bin", bytes);
        CQV7_Sys_API printer;
        printer.GiveFile(1, 2, folder / "sent.bin", nullptr);
        printer.GetFile(1, 2, folder / "label.qv7", nullptr);
        ASSERT_EQ(printer.GetError(), "") << size;
        EXPECT_EQ(ReadBytes(folder / "label.qv7"), bytes) << size;
    }
}

// Waits as a program with its own event loop does: until a descriptor of the
// watch is readable, then takes in the news, which may be libusb's own first.
bool ChangeSeen(CQV7_PrinterWatch& watch) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < deadline) {
        std::vector<pollfd> waits;
        for (const int fd : watch.WaitHandles()) waits.push_back(pollfd{fd, POLLIN, 0});
        poll(waits.data(), waits.size(), 100);
        if (watch.TakeChanges()) return true;
    }
    return false;
}

TEST_F(EmulatedUsbTest, AWatchTellsOfThePrinterPluggedOutAndInAgain) {
    CQV7_PrinterWatch watch;
    if (!watch.IsWatching()) GTEST_SKIP() << "libusb tells of no plugging on this machine";
    printer->Unplug();
    EXPECT_TRUE(ChangeSeen(watch)) << "unplugged";
    EXPECT_EQ(CQV7_Sys_API().GetError(), "Invalid Device Instance");
    ASSERT_TRUE(printer->PlugIn());
    EXPECT_TRUE(ChangeSeen(watch)) << "plugged in";
    uint16_t types = 0;
    CQV7_Sys_API again;
    EXPECT_TRUE(again.GetFileTypes(&types)) << again.GetError();

    // A virtual printer is never plugged.
    environment.Set("QUILLORY_DEVICE", "virtual:" + (folder / "printer"));
    EXPECT_FALSE(CQV7_PrinterWatch().IsWatching());
}

// One fault of the bus, met while sending 1000 bytes to label slot 1 or
// fetching them back (512-byte packets: two bulk transfers).
struct BusFault {
    const char* name;
    UsbFault fault;
    uint8_t endpoint;
    unsigned nth;
    const char* text;
};

void PrintTo(const BusFault& fault, std::ostream* out) {
    *out << fault.name << " ending in " << fault.text;
}

class EmulatedUsbFault : public EmulatedUsbTest, public ::testing::WithParamInterface<BusFault> {
protected:
    void SetUp() override {
        EmulatedUsbTest::SetUp();
        if (IsSkipped()) return;
        WriteBytes(folder / "label.qv7", qv7test::Pattern(1000));
        CQV7_Sys_API seed;
        seed.GiveFile(1, 0, folder / "label.qv7", nullptr);
        ASSERT_EQ(seed.GetError(), "");
    }
};

TEST_P(EmulatedUsbFault, IsReportedWithoutDamageAndTheNextConnectionFaresAsThePrinterIs) {
    const BusFault& fault = GetParam();
    printer->Inject(fault.fault, fault.endpoint, fault.nth);
    WriteBytes(folder / "existing.qv7", {1, 2, 3});
    WriteBytes(folder / "other.qv7", qv7test::Pattern(1000, 9));
    {
        CQV7_Sys_API connection;
        if (fault.endpoint == qv7test::kEmulatedBulkOut) {
            connection.GiveFile(1, 0, folder / "other.qv7", nullptr);
        } else {
            connection.GetFile(1, 0, folder / "existing.qv7", nullptr);
        }
        EXPECT_EQ(connection.GetError(), fault.text);
    }
    EXPECT_EQ(ReadBytes(folder / "existing.qv7"), (std::vector<uint8_t>{1, 2, 3})) << "a failed get writes nothing";

    if (fault.fault == UsbFault::Unplug) {
        printer->Unplug();
        EXPECT_EQ(CQV7_Sys_API().GetError(), "Invalid Device Instance");
        EXPECT_EQ(ReadBytes(folder / "printer/slots/QV7/01.data"), qv7test::Pattern(1000)) << "the slot as it was";
        return;
    }
    // The halt a stall leaves is cleared as the next connection opens.
    CQV7_Sys_API next;
    next.GetFile(1, 0, folder / "back.qv7", nullptr);
    EXPECT_EQ(next.GetError(), "");
    EXPECT_EQ(ReadBytes(folder / "back.qv7"), qv7test::Pattern(1000)) << "a failed send leaves the slot as it was";
}

INSTANTIATE_TEST_SUITE_P(
    EveryFault, EmulatedUsbFault,
    ::testing::Values(
        BusFault{"StallOut", UsbFault::Stall, qv7test::kEmulatedBulkOut, 3, "Write Failed, 968 Bytes Remaining"},
        BusFault{"StallIn", UsbFault::Stall, qv7test::kEmulatedBulkIn, 2, "Read Failed, 488 Bytes Remaining"},
        BusFault{"StallControl", UsbFault::Stall, qv7test::kEmulatedControl, 2,
                 "Device Failed To Send Get File Command"},
        BusFault{"UnplugOut", UsbFault::Unplug, qv7test::kEmulatedBulkOut, 10,
                 "Device Failed To Send Get File Status Command"},
        BusFault{"UnplugIn", UsbFault::Unplug, qv7test::kEmulatedBulkIn, 2,
                 "Device Failed To Send Get File Status Command"},
        BusFault{"SilenceIn", UsbFault::Silence, qv7test::kEmulatedBulkIn, 2, "Read Failed, 488 Bytes Remaining"},
        BusFault{"ShortPacketIn", UsbFault::ShortPacket, qv7test::kEmulatedBulkIn, 1,
                 "Read Failed, 1000 Bytes Remaining"},
        BusFault{"BabbleIn", UsbFault::Babble, qv7test::kEmulatedBulkIn, 2, "Read Failed, 488 Bytes Remaining"}),
    [](const ::testing::TestParamInfo<BusFault>& info) { return std::string(info.param.name); });

}  // namespace
