// The whole library against the emulated printer, chosen the way users choose
// it (QUILLORY_DEVICE), with the trace on. The same printer behind the usb
// backend is reached through libusb in EmulatedUsbLinkTest.cpp.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#ifndef _WIN32
#include <sys/resource.h>
#include <unistd.h>
#endif

#include <gtest/gtest.h>

#include "ScriptedDriver.h"
#include "TempFolder.h"

namespace {

using qv7test::ReadBytes;
using qv7test::ReadText;
using qv7test::TempFolder;
using qv7test::WriteBytes;

class VirtualLink : public ::testing::Test {
protected:
    std::string Trace() { return ReadText(folder / "trace.txt"); }

    TempFolder folder;
    qv7test::ScopedEnvironment environment{{"QUILLORY_DEVICE", "virtual:" + (folder / "printer")},
                                           {"QUILLORY_TRACE", folder / "trace.txt"}};
};

TEST_F(VirtualLink, GiveThenGetReturnsTheSameBytesAndTheNameFollowsTheContent) {
    std::vector<uint8_t> dataFile(26536, 0);
    dataFile[13] = 1;
    dataFile[14] = 0xA5;
    const std::string name = "ORDERS";
    std::copy(name.begin(), name.end(), dataFile.begin() + 15);
    for (size_t i = 36; i < dataFile.size(); i += 97) dataFile[i] = static_cast<uint8_t>('A' + i % 26);
    WriteBytes(folder / "orders.dat", dataFile);
    WriteBytes(folder / "label.qv7", qv7test::Pattern(1000));

    {
        CQV7_Sys_API printer;
        printer.GiveFile(0, 4, folder / "orders.dat", nullptr);
        EXPECT_EQ(printer.GetError(), "");
        printer.GiveFile(1, 6, folder / "label.qv7", nullptr);
        EXPECT_EQ(printer.GetError(), "");
    }
    // A new connection reads the printer back from its folder.
    CQV7_Sys_API printer;
    printer.GetFile(0, 4, folder / "orders-back.dat", nullptr);
    EXPECT_EQ(printer.GetError(), "");
    printer.GetFile(1, 6, folder / "label-back.qv7", nullptr);
    EXPECT_EQ(printer.GetError(), "");
    EXPECT_EQ(ReadBytes(folder / "orders-back.dat"), dataFile);
    EXPECT_EQ(ReadBytes(folder / "label-back.qv7"), qv7test::Pattern(1000));
    const std::string trace = Trace();
    EXPECT_NE(trace.find("control 0x220010 in=030001000600040" "0e8030000 out=0 returned=0 ok\n"), std::string::npos);
    EXPECT_NE(trace.find("pipe PIPE01 ok\nwrite 16 moved=16\n"), std::string::npos);
    EXPECT_NE(trace.find("read 8 moved=8\n"), std::string::npos) << "1000 bytes end in a chunk of 8";

    QV7_FILE_ATTRIBUTES stored{};
    ASSERT_TRUE(printer.GetFileAttributes(0, 4, &stored));
    EXPECT_STREQ(stored.fileName, "ORDERS");
    ASSERT_TRUE(printer.GetFileAttributes(1, 6, &stored));
    EXPECT_STREQ(stored.fileName, "Label07");
}

struct FaultCase {
    const char* faults;
    const char* operation;  // "connect", "give", "get"
    const char* text;
};

void PrintTo(const FaultCase& fault, std::ostream* out) { *out << fault.operation << " ending in " << fault.text; }

class VirtualFault : public VirtualLink, public ::testing::WithParamInterface<FaultCase> {};

TEST_P(VirtualFault, EndsInItsOwnText) {
    qv7test::SteppingClock clock(250);
    { CQV7_Sys_API seed; }  // the first connection seeds the folder
    std::ofstream(folder / "printer/faults.txt") << GetParam().faults;
    WriteBytes(folder / "label.qv7", qv7test::Pattern(40));
    WriteBytes(folder / "existing.qv7", {1, 2, 3});

    CQV7_Sys_API printer;
    const std::string operation = GetParam().operation;
    if (operation == "connect") {
    } else if (operation == "give") {
        printer.GiveFile(1, 0, folder / "label.qv7", nullptr);
    } else {
        printer.GetFile(2, 0, folder / "existing.qv7", nullptr);
        EXPECT_EQ(ReadBytes(folder / "existing.qv7"), (std::vector<uint8_t>{1, 2, 3}))
            << "a failed get leaves the file as it was";
    }
    EXPECT_EQ(printer.GetError(), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    EveryFault, VirtualFault,
    ::testing::Values(
        FaultCase{"no-device\n", "connect", "Invalid Device Instance"},
        FaultCase{"reply-size 4 3\n", "get", "Invalid Data Size Return from Get File Expected: 4 Got: 3"},
        FaultCase{"short-read 2 10\n", "get", "Read Failed, 3046 Bytes Remaining"},
        FaultCase{"short-write 3 0\n", "give", "Write Failed, 8 Bytes Remaining"},
        FaultCase{"upload-busy-forever\n", "give", "Upload Timeout"},
        FaultCase{"download-busy-forever\n", "get", "Download Timeout"},
        FaultCase{"upload-fails\n", "give", "File Upload Error"},
        FaultCase{"reply-size 9 1\n", "give", "Invalid Data Size Return from Get File Status Expected: 2 Got: 1"},
        FaultCase{"download-fails\n", "get", "File Download Error"}));

TEST_F(VirtualLink, EverySizeComesBackByteForByte) {
    for (const uint32_t size : {1u, 15u, 16u, 17u, 300u, 1048576u}) {
        const std::vector<uint8_t> bytes = qv7test::Pattern(size, 7);
        WriteBytes(folder / "sent.bin", bytes);
        CQV7_Sys_API printer;
        printer.GiveFile(1, 2, folder / "sent.bin", nullptr);
        printer.GetFile(1, 2, folder / "label.qv7", nullptr);
        ASSERT_EQ(printer.GetError(), "") << size;
        EXPECT_EQ(ReadBytes(folder / "label.qv7"), bytes) << size;

        printer.GiveFirmware(folder / "sent.bin", nullptr);
        printer.GetFirmware(folder / "firmware.bin", nullptr);
        ASSERT_EQ(printer.GetError(), "") << size;
        EXPECT_EQ(ReadBytes(folder / "firmware.bin"), bytes) << size;
    }
    // Nothing is sent empty, so the printer is given an empty firmware by hand;
    // an empty image is refused before a byte moves.
    WriteBytes(folder / "printer/firmware.bin", {});
    CQV7_Sys_API printer;
    printer.GetFirmware(folder / "firmware.bin", nullptr);
    EXPECT_EQ(printer.GetError(), "No Point recieving 0 bytes");
    EXPECT_EQ(ReadBytes(folder / "firmware.bin"), qv7test::Pattern(1048576, 7));
}

TEST_F(VirtualLink, ASecondConnectionIsToldThePrinterIsBusyUntilTheFirstEnds) {
    {
        auto first = std::make_unique<CQV7_Sys_API>();
        ASSERT_FALSE(first->IsError()) << first->GetError();
        CQV7_Sys_API second;
        EXPECT_EQ(second.GetError(), "Device Busy, used by another program");
        const CQV7_Sys_API copy(*first);  // a copy shares the first one's hold
        first.reset();
        CQV7_Sys_API third;
        EXPECT_TRUE(third.IsError()) << "the copy still holds the printer";
    }
    CQV7_Sys_API after;
    uint16_t types = 0;
    EXPECT_TRUE(after.GetFileTypes(&types)) << after.GetError();
}

#ifndef _WIN32
// A stored file or firmware image far larger than any QV7E holds is
// announced by its size and refused by it: neither the printer nor the
// library reads the gigabyte, as the peak memory of the process doing it shows.
TEST_F(VirtualLink, AGigabyteSlotOrFirmwareIsRefusedFromItsSizeUnread) {
    const std::string printer = folder / "printer";
    { CQV7_Sys_API seeding; }
    ASSERT_EQ(truncate((printer + "/slots/DAT/01.data").c_str(), off_t{1} << 30), 0);
    ASSERT_EQ(truncate((printer + "/firmware.bin").c_str(), off_t{1} << 30), 0);
    EXPECT_EXIT(
        {
            std::string errors;
            {
                CQV7_Sys_API connection;
                connection.GetFile(0, 0, folder / "PRICES.dat", nullptr);
                errors = connection.GetError();
            }
            {
                CQV7_Sys_API connection;
                connection.GetFirmware(folder / "firmware.bin", nullptr);
                errors += " / " + connection.GetError();
            }
            rusage usage{};
            getrusage(RUSAGE_SELF, &usage);
            std::fprintf(stderr, "%s; peak %ld KiB\n", errors.c_str(), usage.ru_maxrss);
            const bool refused = errors == "Unable to Allocate: 1073741824 Bytes / Unable to Allocate:1073741824 Bytes";
            std::_Exit(refused && usage.ru_maxrss < 256 * 1024 ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
    EXPECT_EQ(folder.Entries(), (std::vector<std::string>{"printer", "trace.txt"}));
}
#endif

}  // namespace
