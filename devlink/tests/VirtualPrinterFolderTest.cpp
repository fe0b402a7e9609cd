// The printer folder: what seeding puts in it, what a hand-written one may
// hold, the reasons given for one that is not a printer, and slots and PC
// files replaced as one unit.
#ifndef _WIN32
#include <sys/resource.h>
#include <unistd.h>
#endif

#include <csignal>

#include "PcFile.h"
#include "virtual/TerminalSafeText.h"
#include "virtual/PrinterFolder.h"
#include "VirtualPrinterTest.h"

namespace vptest {
namespace {

using VirtualPrinterFolderTest = VirtualPrinterTest;

TEST_F(VirtualPrinterFolderTest, SeedsAMissingFolderWithABelievablePrinter) {
    const std::string dir = scratch / "a/b/printer";
    OpenPrinter(dir);

    // Data files in the printer's layout, named after their database name.
    const Bytes supplier = ReadBytes(dir + "/slots/DAT/05.data");
    ASSERT_EQ(supplier.size(), 26536u);
    EXPECT_EQ(Bytes(supplier.begin(), supplier.begin() + 13), Bytes(13, 0));
    EXPECT_GE(supplier[13], 3);
    EXPECT_EQ(supplier[14], 0xA5);
    EXPECT_EQ(std::string(supplier.begin() + 15, supplier.begin() + 24), "SUPPLIERS");
    EXPECT_EQ(ReadText(dir + "/slots/DAT/05.name"), "SUPPLIER\n");


    const Bytes firmware = ReadBytes(dir + "/firmware.bin");
    EXPECT_EQ(firmware.size(), 1048576u);
    ScratchFolder other;
    OpenPrinter(other.Printer());
    EXPECT_EQ(ReadBytes(other.Printer() + "/firmware.bin"), firmware) << "the same image every time";
}

TEST_F(VirtualPrinterFolderTest, KeepsAFaultsFileWrittenBeforeSeeding) {
    const std::string dir = scratch.Printer();
    WriteFile(dir + "/faults.txt", "old-firmware\n");
    auto printer = OpenPrinter(dir);
    EXPECT_EQ(StoredName(*printer, 0, 0), "Blank40 ");
    EXPECT_EQ(ReadText(dir + "/faults.txt"), "old-firmware\n");
}

TEST_F(VirtualPrinterFolderTest, ReadsAHandWrittenFolder) {
    const std::string dir = scratch.Printer();
    WriteFile(dir + "/printer.txt",
              "# shop printer\n"
              "driver-version 12   # after a driver update\n"
              "\n"
              "type MAP 2\r\n"
              "type DAT 99\n");
    WriteFile(dir + "/slots/DAT/07.name", "Blank40 \nignored second line\n");
    WriteFile(dir + "/slots/DAT/07.data", "seven");
    WriteFile(dir + "/slots/DAT/99.name", "LAST\r\n");
    WriteFile(dir + "/slots/DAT/99.data", "");
    WriteFile(dir + "/slots/DAT/.01.data.tmp123", "left by an interrupted write");

    auto printer = OpenPrinter(dir);
    EXPECT_EQ(printer->DriverVersion(), 12u);
    EXPECT_EQ(Ask(*printer, Block(6, 0, 0, 4), 4).bytes, (Bytes{'M', 'A', 'P', 0}));
    EXPECT_EQ(Ask(*printer, Block(7, 1, 0, 2), 2).bytes, (Bytes{99, 0}));
    EXPECT_EQ(StoredName(*printer, 1, 6), "Blank40 ") << "trailing blanks are the device's own";
    EXPECT_EQ(StoredName(*printer, 1, 98), "LAST");
    EXPECT_EQ(StoredName(*printer, 1, 0), "");
    EXPECT_EQ(GetFile(*printer, 1, 6), (Bytes{'s', 'e', 'v', 'e', 'n'}));
    EXPECT_EQ(Ask(*printer, Block(2, 0, 0, 4), 4).bytes, (Bytes{0, 0, 0, 0})) << "no firmware.bin";
}

TEST_F(VirtualPrinterFolderTest, RefusesFoldersThatAreNotPrinters) {
    struct Case {
        const char* what;
        std::vector<std::pair<std::string, std::string>> files;  // path below the folder, content
        std::string reason;
    };
    const std::string small = "driver-version 1\ntype DAT 4\n";
    const std::vector<Case> cases = {
        {"stray file", {{"notes.txt", "hello"}}, "no printer.txt"},
        {"unknown setting", {{"printer.txt", "driver-version 1\ntypes DAT 4\n"}}, "printer.txt line 2: unknown setting 'types'"},
        {"type name with a slash", {{"printer.txt", "driver-version 1\ntype D/ 4\n"}}, "type name 'D/'"},
        {"type twice", {{"printer.txt", small + "type DAT 5\n"}}, "line 3: type DAT is given twice"},
        {"folder of no type", {{"printer.txt", small}, {"slots/QV7/01.name", "X\n"}}, "slots/QV7 is not a folder of a type"},
        {"slot past the last", {{"printer.txt", small}, {"slots/DAT/05.data", "x"}}, "slots/DAT/05.data is not a slot file"},
        {"long name", {{"printer.txt", small}, {"slots/DAT/01.name", "NINECHARS\n"}, {"slots/DAT/01.data", "x"}}, "stored name 'NINECHARS' is longer than 8"},
    };
    for (const Case& c : cases) {
        ScratchFolder folder;
        for (const auto& [path, content] : c.files) WriteFile(folder.Printer() + "/" + path, content);
        std::string error;
        EXPECT_FALSE(qv7::VirtualPrinter::Open(folder.Printer(), &error)) << c.what;
        EXPECT_EQ(error.rfind(folder.Printer() + ": ", 0), 0u) << c.what << ": " << error;
        EXPECT_NE(error.find(c.reason), std::string::npos) << c.what << ": " << error;
    }

    ScratchFolder plain;
    WriteFile(plain / "file", "not a folder");
    std::string error;
    EXPECT_FALSE(qv7::VirtualPrinter::Open(plain / "file", &error));
    EXPECT_NE(error.find("not a folder"), std::string::npos) << error;
    EXPECT_FALSE(qv7::VirtualPrinter::Open("", &error));
}

// ---- a slot stored as one unit -------------------------------------------------

using qv7::virtualprinter::PrinterFolder;
using qv7::virtualprinter::PrinterState;

TEST_F(VirtualPrinterFolderTest, HalfASlotReadsEmptyAndIsSetAsideWithOneNotice) {
    const std::string dir = scratch.Printer();
    WriteSmallPrinter(dir);
    WriteFile(dir + "/slots/DAT/02.data", "bytes whose name was never written");
    WriteFile(dir + "/slots/QV7/01.name", "Label01\n");
    PrinterFolder folder(dir);
    PrinterState state;
    std::string error;
    ASSERT_TRUE(folder.Load(&state, &error)) << error;
    EXPECT_EQ(state.names[0][1], "");
    EXPECT_EQ(state.names[1][0], "");
    ASSERT_EQ(state.notices.size(), 2u);
    EXPECT_EQ(state.notices[0], "slots/DAT/02.data has no 02.name; the slot reads empty and the file is kept as "
                                "slots/DAT/.02.data.unpaired");
    EXPECT_EQ(ReadText(dir + "/slots/DAT/.02.data.unpaired"), "bytes whose name was never written");

    ASSERT_TRUE(folder.Load(&state, &error)) << error;
    EXPECT_TRUE(state.notices.empty()) << "told once";
}

TEST_F(VirtualPrinterFolderTest, AStoreCutShortIsFinishedOnceCompleteAndForgottenOtherwise) {
    const std::string dir = scratch.Printer();
    WriteSmallPrinter(dir);
    WriteFile(dir + "/slots/DAT/01.name", "OLD1\n");
    WriteFile(dir + "/slots/DAT/01.data", "old one");
    WriteFile(dir + "/slots/DAT/03.name", "OLD3\n");
    WriteFile(dir + "/slots/DAT/03.data", "old three");
    // Slot 1: both files complete, the data already moved into place when the
    // process ended. Slot 3: the process ended while writing.
    WriteFile(dir + "/slots/DAT/01.data", "new one");
    WriteFile(dir + "/slots/DAT/.01.ready/01.name", "NEW1\n");
    WriteFile(dir + "/slots/DAT/.03.new/03.data", "new three");

    auto printer = OpenPrinter(dir);
    EXPECT_EQ(StoredName(*printer, 0, 0), "NEW1");
    EXPECT_EQ(GetFile(*printer, 0, 0), Bytes({'n', 'e', 'w', ' ', 'o', 'n', 'e'}));
    EXPECT_EQ(StoredName(*printer, 0, 2), "OLD3");
    EXPECT_EQ(ReadText(dir + "/slots/DAT/03.data"), "old three");
    EXPECT_FALSE(std::filesystem::exists(dir + "/slots/DAT/.01.ready"));

    EXPECT_EQ(GiveFile(*printer, 0, 2, Pattern(40, 3)), 0);
    EXPECT_EQ(ReadBytes(dir + "/slots/DAT/03.data"), Pattern(40, 3));
    EXPECT_FALSE(std::filesystem::exists(dir + "/slots/DAT/.03.new")) << "the stale staging folder is cleared";
}

#ifndef _WIN32
TEST_F(VirtualPrinterFolderTest, AStoreThatCannotBeWrittenLeavesTheSlotAsItWas) {
    const std::string dir = scratch.Printer();
    WriteSmallPrinter(dir);
    WriteFile(dir + "/slots/DAT/02.name", "KEEP\n");
    WriteFile(dir + "/slots/DAT/02.data", "kept");
    PrinterFolder folder(dir);
    std::string error;

    // A file size limit stands in for a full disk: the write fails part way.
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit small = saved;
    small.rlim_cur = 4096;
    setrlimit(RLIMIT_FSIZE, &small);
    const Bytes big = Pattern(10000, 5);
    const bool stored = folder.SaveSlot("DAT", 1, "BIG", big.data(), uint32_t(big.size()), &error);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);

    EXPECT_FALSE(stored);
    EXPECT_EQ(ReadText(dir + "/slots/DAT/02.name"), "KEEP\n");
    EXPECT_EQ(ReadText(dir + "/slots/DAT/02.data"), "kept");
    auto printer = OpenPrinter(dir);
    EXPECT_EQ(StoredName(*printer, 0, 1), "KEEP");
    EXPECT_EQ(qv7test::EntriesOf(dir + "/slots/DAT"), (std::vector<std::string>{"02.data", "02.name"}));
}

// Folder texts quoted on the terminal: a right-to-left override, a tag
// character above U+FFFF and CSI are shown as bytes; letters pass.
TEST(TerminalSafeText, UnseenCharactersAreShownAsTheirBytes) {
    EXPECT_EQ(qv7::virtualprinter::TerminalSafeText("A\xe2\x80\xaeTXT \xf3\xa0\x80\x81 \xc2\x9b" "2J caf\xc3\xa9 \xff"),
              "A\\xe2\\x80\\xaeTXT \\xf3\\xa0\\x80\\x81 \\xc2\\x9b" "2J caf\xc3\xa9 \\xff");
}

// A file on the PC replaced through a temporary file with a name, as on a file
// system without unnamed files: nothing of it is left after a commit or after
// giving up.
TEST(NamedTemporaryFile, LeavesOnlyTheTarget) {
    ScratchFolder scratch;
    const std::string target = scratch / "label.qv7";
    WriteFile(target, "old");
    using Replacement = qv7::PcFileReplacement;
    {
        Replacement replacement(target, Replacement::Temporary::Named);
        ASSERT_TRUE(replacement.Begin());
        const std::vector<std::string> during = scratch.Entries();
        ASSERT_EQ(during.size(), 2u);
        EXPECT_EQ(during[0].rfind(".label.qv7.part-", 0), 0u);
        const std::string bytes = "new";
        EXPECT_TRUE(replacement.Commit(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()));
    }
    {
        Replacement abandoned(target, Replacement::Temporary::Named);
        ASSERT_TRUE(abandoned.Begin());
    }
    EXPECT_EQ(scratch.Entries(), std::vector<std::string>{"label.qv7"});
    EXPECT_EQ(ReadText(target), "new");
}

// A process ended by a signal, one it may catch or not, leaves its
// temporary. The next replacement in the folder removes it, and leaves a
// running process's temporary and a user's own look-alike alone.
TEST(NamedTemporaryFile, TheNextReplacementRemovesWhatAnEndedProcessLeft) {
    ScratchFolder scratch;
    using Replacement = qv7::PcFileReplacement;
    for (int signalNumber : {SIGTERM, SIGKILL}) {
        EXPECT_EXIT(
            {
                Replacement ended(scratch / "label.qv7", Replacement::Temporary::Named);
                if (ended.Begin()) std::raise(signalNumber);
            },
            ::testing::KilledBySignal(signalNumber), "");
        // Its own temporary is left; the one before went with its Begin().
        ASSERT_EQ(scratch.Entries().size(), 1u) << signalNumber;
    }
    const std::string running = ".data.dat.part-" + std::to_string(getpid()) + "-0";
    WriteFile(scratch / running, "still being written");
    WriteFile(scratch / ".notes.part-1-x.txt", "the user's");
    ASSERT_EQ(scratch.Entries().size(), 3u);

    Replacement next(scratch / "other.qv7");
    ASSERT_TRUE(next.Begin());
    EXPECT_TRUE(next.Commit(reinterpret_cast<const uint8_t*>("x"), 1));
    EXPECT_EQ(scratch.Entries(), (std::vector<std::string>{running, ".notes.part-1-x.txt", "other.qv7"}));
}

#endif

}  // namespace
}  // namespace vptest
