// The virtual printer as the host meets it: catalogue replies, command block
// checks, bulk transfers in any chunk size, the file status word, what a
// finished or unfinished upload leaves in the folder, and its faults file.
#include "VirtualPrinterTest.h"

namespace vptest {
namespace {

TEST_F(VirtualPrinterTest, RefusesMalformedBlocksWithoutLeavingAReply) {
    auto printer = OpenPrinter(scratch.Printer());
    Bytes tooLong = Block(8, 0, 0, 9);
    tooLong.push_back(0);
    Bytes shortHeader = Block(9, 0, 0, 2);
    shortHeader.resize(7);
    struct Case {
        const char* what;
        bool give;
        Bytes block;
    };
    const Case cases[] = {
        {"header cut short", false, shortHeader},
        {"announcing code on the reply channel", false, Block(3, 0, 0, 4, 10)},
        {"reply code on the announcing channel", true, Block(9, 0, 0, 2)},
        {"code 10", false, Block(10, 0, 0, 2)},
        {"length field not the reply's", false, Block(9, 0, 0, 4)},
        {"block longer than header and length", false, tooLong},
        {"type index past the last type", false, Block(6, 3, 0, 4)},
        {"slot index past the last slot", false, Block(8, 0, 16, 9)},
        {"get from a missing slot", false, Block(4, 2, 10, 4)},
        {"give larger than the device holds", true, Block(1, 0, 0, 4, 0x7FFFFFFF)},
    };
    for (const Case& c : cases) {
        // A reply prepared just before must not be handed out for the refused block.
        ASSERT_TRUE(printer->TakeGetCommand(Block(5, 0, 0, 2).data(), 10));
        const bool taken = c.give ? printer->TakeGiveCommand(c.block.data(), uint32_t(c.block.size()))
                                  : printer->TakeGetCommand(c.block.data(), uint32_t(c.block.size()));
        EXPECT_FALSE(taken) << c.what;
        uint8_t out[16] = {};
        EXPECT_EQ(printer->ReadReply(out, sizeof out), 0u) << c.what;
    }
    EXPECT_FALSE(printer->TakeGetCommand(nullptr, 10));
}

TEST_F(VirtualPrinterTest, GiveThenGetReturnsTheSameBytesInAnyChunkSize) {
    auto printer = OpenPrinter(scratch.Printer());
    // Sizes around one 16-byte chunk are left to the link tests, which move each of them.
    struct Case {
        size_t size;
        uint32_t writeChunk, readChunk;
    } const cases[] = {{3062, 1, 7}, {3000, 64, 3}, {26536, 13, 4096}};
    uint8_t seed = 1;
    for (const Case& c : cases) {
        const Bytes sent = Pattern(c.size, seed++);
        EXPECT_EQ(GiveFile(*printer, 1, 5, sent, c.writeChunk), 0) << c.size;
        EXPECT_EQ(GetFile(*printer, 1, 5, c.readChunk), sent) << c.size << " bytes in chunks of " << c.writeChunk;
    }
}

TEST_F(VirtualPrinterTest, UnfinishedUploadStoresNothingAndSettlesWithoutFailure) {
    const std::string dir = scratch.Printer();
    auto printer = OpenPrinter(dir);
    const Bytes before = GetFile(*printer, 0, 0);

    const Bytes give = Block(3, 0, 0, 4, 48);
    ASSERT_TRUE(printer->TakeGiveCommand(give.data(), uint32_t(give.size())));
    ASSERT_EQ(WriteChunks(*printer, Pattern(32, 1), 16), 32u);
    // Another process opening the folder mid-transfer sees the old file.
    EXPECT_EQ(GetFile(*OpenPrinter(dir), 0, 0), before);

    EXPECT_EQ(Status(*printer), 0x0001);
    EXPECT_EQ(Status(*printer), 0x0001);
    EXPECT_EQ(Status(*printer), 0);
    EXPECT_EQ(StoredName(*printer, 0, 0), "PRICES");
    EXPECT_EQ(GetFile(*printer, 0, 0), before);
    // The bytes that did not come are not taken later either.
    uint8_t late[16] = {};
    EXPECT_EQ(printer->WriteBulk(late, 16), 0u);
    EXPECT_EQ(GetFile(*OpenPrinter(dir), 0, 0), before);
}

TEST_F(VirtualPrinterTest, PipesMoveOnlyTheAnnouncedBytes) {
    auto printer = OpenPrinter(scratch.Printer());
    uint8_t chunk[16] = {};
    EXPECT_EQ(printer->WriteBulk(chunk, 16), 0u) << "nothing announced";
    EXPECT_EQ(printer->ReadBulk(chunk, 16), 0u) << "nothing asked for";

    const Bytes give = Block(3, 1, 0, 4, 20);
    ASSERT_TRUE(printer->TakeGiveCommand(give.data(), uint32_t(give.size())));
    EXPECT_EQ(printer->WriteBulk(chunk, 16), 16u);
    EXPECT_EQ(printer->WriteBulk(chunk, 16), 4u);
    EXPECT_EQ(printer->WriteBulk(chunk, 16), 0u);

    ASSERT_EQ(Number(Ask(*printer, Block(4, 1, 0, 4), 4).bytes, 4), 20u);
    EXPECT_EQ(printer->ReadBulk(chunk, 16), 16u);
    EXPECT_EQ(printer->ReadBulk(chunk, 16), 4u);
    EXPECT_EQ(printer->ReadBulk(chunk, 16), 0u);
}

// An empty give settles like any other and is no reason to empty a slot.
TEST_F(VirtualPrinterTest, AnEmptyGiveLeavesTheSlotAsItWas) {
    auto printer = OpenPrinter(scratch.Printer());
    const Bytes giveNothing = Block(3, 0, 1, 4, 0);
    ASSERT_TRUE(printer->TakeGiveCommand(giveNothing.data(), uint32_t(giveNothing.size())));
    EXPECT_EQ(Status(*printer), 0x0001);
    EXPECT_EQ(Status(*printer), 0x0001);
    EXPECT_EQ(Status(*printer), 0);
    EXPECT_EQ(StoredName(*printer, 0, 1), "STOCK");
    EXPECT_EQ(GetFile(*printer, 0, 1).size(), 26536u);
}

// ---- faults.txt ----

using VirtualPrinterFaultsTest = VirtualPrinterTest;

TEST_F(VirtualPrinterFaultsTest, MalformedFaultLinesAreRefusedWithTheLine) {
    struct Case {
        std::string text;
        std::string reason;
    };
    const Case cases[] = {
        {"upload-fail\n", "faults.txt line 1: unknown fault 'upload-fail'"},
        {"# fine\n\nreply-size 3 1\n", "faults.txt line 3: command code '3' is not one with a reply"},
        {"reply-size 5 x\n", "faults.txt line 1: byte count 'x'"},
        {"short-read 2 10\nshort-read 3 4\n", "faults.txt line 2: short-read is given twice"},
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
