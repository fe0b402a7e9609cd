// Each fault of faults.txt, seen from the host side of the device.
#include "VirtualPrinterTest.h"

namespace vptest {
namespace {

// A small printer with slot DAT 01 holding 40 bytes, and the given faults.
std::unique_ptr<qv7::VirtualPrinter> FaultyPrinter(const std::string& dir, const std::string& faults) {
    WriteSmallPrinter(dir);
    WriteFile(dir + "/slots/DAT/01.name", "ITEMS\n");
    WriteFile(dir + "/slots/DAT/01.data", std::string(40, 'd'));
    WriteFile(dir + "/faults.txt", faults);
    return OpenPrinter(dir);
}

class VirtualPrinterFaultsTest : public ::testing::Test {
protected:
    std::unique_ptr<qv7::VirtualPrinter> PrinterWith(const std::string& faults) {
        return FaultyPrinter(scratch.Printer(), faults);
    }

    ScratchFolder scratch;
};

TEST_F(VirtualPrinterFaultsTest, NoDeviceMakesThePrinterAbsent) {
    auto printer = PrinterWith("# unplugged\nno-device\n");
    ASSERT_TRUE(printer);
    EXPECT_FALSE(printer->IsPresent());
}

TEST_F(VirtualPrinterFaultsTest, ReplySizeChangesOnlyTheChosenCommand) {
    auto printer = PrinterWith("reply-size 5 1\nreply-size 8 12\nreply-size 4 0\n");
    ASSERT_TRUE(printer);
    const Reply types = Ask(*printer, Block(5, 0, 0, 2), 2);
    EXPECT_EQ(types.given, 1u);
    EXPECT_EQ(Ask(*printer, Block(8, 0, 0, 9), 9).given, 12u);
    EXPECT_EQ(Ask(*printer, Block(4, 0, 0, 4), 4).given, 0u);
    EXPECT_EQ(Ask(*printer, Block(7, 0, 0, 2), 2).given, 2u);
    EXPECT_EQ(Ask(*printer, Block(9, 0, 0, 2), 2).given, 2u);
    // A longer answer than the host's buffer still fills only the buffer.
    const Reply name = Ask(*printer, Block(8, 0, 0, 9), 4);
    EXPECT_EQ(name.bytes, (Bytes{'I', 'T', 'E', 'M'}));
}

TEST_F(VirtualPrinterFaultsTest, ShortReadHitsTheChosenCallOnly) {
    auto printer = PrinterWith("short-read 2 10\n");
    ASSERT_TRUE(printer);
    ASSERT_EQ(Number(Ask(*printer, Block(4, 0, 0, 4), 4).bytes, 4), 40u);
    uint8_t chunk[16];
    EXPECT_EQ(printer->ReadBulk(chunk, 16), 16u);
    EXPECT_EQ(printer->ReadBulk(chunk, 16), 10u);
    // The host gives up here; the device settles without calling it a failure.
    EXPECT_EQ(Status(*printer), 0x0004);
    EXPECT_EQ(Status(*printer), 0x0004);
    EXPECT_EQ(Status(*printer), 0);
    // Later transfers on the same connection are whole again.
    EXPECT_EQ(GetFile(*printer, 0, 0), Bytes(40, 'd'));
}

TEST_F(VirtualPrinterFaultsTest, ShortWriteLeavesTheSlotAlone) {
    auto printer = PrinterWith("short-write 3 5\n");
    ASSERT_TRUE(printer);
    EXPECT_EQ(GiveFile(*printer, 0, 0, Pattern(64, 3)), 0) << "no failure bit";
    EXPECT_EQ(GetFile(*printer, 0, 0), Bytes(40, 'd'));
    EXPECT_EQ(StoredName(*printer, 0, 0), "ITEMS");
}

TEST_F(VirtualPrinterFaultsTest, StatusFaults) {
    struct Case {
        const char* fault;
        bool upload;
        uint16_t settled;  // the status word once the busy polls are over
    };
    const Case cases[] = {
        {"upload-busy-forever", true, 0x0001},
        {"download-busy-forever", false, 0x0004},
        {"upload-fails", true, 0x0002},
        {"download-fails", false, 0x0008},
        {"upload-busy-forever\nupload-fails", true, 0x0001},
    };
    for (const Case& c : cases) {
        ScratchFolder folder;
        auto printer = FaultyPrinter(folder.Printer(), c.fault);
        ASSERT_TRUE(printer);
        EXPECT_EQ(Status(*printer), 0) << c.fault << ": nothing before a transfer";
        if (c.upload) {
            GiveFile(*printer, 0, 0, Pattern(40, 1));
        } else {
            EXPECT_EQ(GetFile(*printer, 0, 0).size(), 40u);
        }
        for (int poll = 0; poll < 50; ++poll) (void)Status(*printer);
        EXPECT_EQ(Status(*printer), c.settled) << c.fault;
        // A failed upload keeps the old file; a failed download still delivered it.
        EXPECT_EQ(GetFile(*printer, 0, 0), Bytes(40, 'd')) << c.fault;
    }
}

TEST_F(VirtualPrinterFaultsTest, OldFirmwareNamesEverySlotBlank40) {
    auto printer = PrinterWith("old-firmware\n");
    ASSERT_TRUE(printer);
    for (uint16_t type = 0; type < 3; ++type) {
        EXPECT_EQ(StoredName(*printer, type, 0), "Blank40 ");
        EXPECT_EQ(StoredName(*printer, type, 1), "Blank40 ");
    }
    EXPECT_EQ(GetFile(*printer, 0, 0), Bytes(40, 'd')) << "only the names are old";
}

TEST_F(VirtualPrinterFaultsTest, ConnectionsCountPipeCallsFromTheirOwnStart) {
    const std::string dir = scratch.Printer();
    WriteSmallPrinter(dir);
    WriteFile(dir + "/faults.txt", "short-write 1 0\n");
    for (int connection = 0; connection < 2; ++connection) {
        auto printer = OpenPrinter(dir);
        ASSERT_TRUE(printer);
        const Bytes give = Block(3, 0, 0, 4, 16);
        ASSERT_TRUE(printer->TakeGiveCommand(give.data(), uint32_t(give.size())));
        uint8_t chunk[16] = {};
        EXPECT_EQ(printer->WriteBulk(chunk, 16), 0u) << "connection " << connection;
    }
}

TEST_F(VirtualPrinterFaultsTest, MalformedFaultLinesAreRefusedWithTheLine) {
    struct Case {
        std::string text;
        std::string reason;
    };
    const Case cases[] = {
        {"upload-fail\n", "faults.txt line 1: unknown fault 'upload-fail'"},
        {"# fine\n\nreply-size 3 1\n", "faults.txt line 3: command code '3' is not one with a reply"},
        {"reply-size 5\n", "faults.txt line 1: reply-size takes a command code and a byte count"},
        {"reply-size 5 x\n", "faults.txt line 1: byte count 'x'"},
        {"short-read 0 10\n", "faults.txt line 1: call number '0'"},
        {"short-write 2 -1\n", "faults.txt line 1: byte count '-1'"},
        {"short-read 2 10\nshort-read 3 4\n", "faults.txt line 2: short-read is given twice"},
        {"no-device now\n", "faults.txt line 1: no-device takes nothing after it"},
    };
    for (const Case& c : cases) {
        ScratchFolder folder;
        WriteSmallPrinter(folder.Printer());
        WriteFile(folder.Printer() + "/faults.txt", c.text);
        std::string error;
        EXPECT_FALSE(qv7::VirtualPrinter::Open(folder.Printer(), &error)) << c.text;
        EXPECT_NE(error.find(c.reason), std::string::npos) << error;
    }
}

}  // namespace
}  // namespace vptest
