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
using qv7test::TempFolder;
using qv7test::WriteBytes;

class VirtualLink : public ::testing::Test {
protected:
    TempFolder folder;
    qv7test::ScopedEnvironment environment{{"QUILLORY_DEVICE", "virtual:" + (folder / "printer")},
                                           {"QUILLORY_TRACE", folder / "trace.txt"}};
};

// A data file's stored name is the database name inside it, read back by a
// new connection from the printer's folder.
TEST_F(VirtualLink, TheStoredNameFollowsTheContent) {
    std::vector<uint8_t> dataFile(26536, 0);
    dataFile[13] = 1;
    dataFile[14] = 0xA5;
    const std::string name = "ORDERS";
    std::copy(name.begin(), name.end(), dataFile.begin() + 15);
    WriteBytes(folder / "orders.dat", dataFile);
    {
        CQV7_Sys_API printer;
        printer.GiveFile(0, 4, folder / "orders.dat", nullptr);
        EXPECT_EQ(printer.GetError(), "");
    }
    CQV7_Sys_API printer;
    QV7_FILE_ATTRIBUTES stored{};
    ASSERT_TRUE(printer.GetFileAttributes(0, 4, &stored));
    EXPECT_STREQ(stored.fileName, "ORDERS");
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

// Label sizes are moved over USB in EmulatedUsbLinkTest.cpp; firmware images
// here, and an empty one is refused before a byte moves.
TEST_F(VirtualLink, FirmwareComesBackByteForByteAndAnEmptyImageIsRefused) {
    for (const uint32_t size : {17u, 1048576u}) {
        const std::vector<uint8_t> bytes = qv7test::Pattern(size, 7);
        WriteBytes(folder / "sent.bin", bytes);
        CQV7_Sys_API printer;
        printer.GiveFirmware(folder / "sent.bin", nullptr);
        printer.GetFirmware(folder / "firmware.bin", nullptr);
        ASSERT_EQ(printer.GetError(), "") << size;
        EXPECT_EQ(ReadBytes(folder / "firmware.bin"), bytes) << size;
    }
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
