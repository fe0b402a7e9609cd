// faults.txt: pipe calls are counted per connection, and the lines it refuses.
#include "VirtualPrinterTest.h"

namespace vptest {
namespace {

class VirtualPrinterFaultsTest : public ::testing::Test {
protected:
    ScratchFolder scratch;
};

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
