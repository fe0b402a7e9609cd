// The printer folder: what seeding puts in it, what a hand-written one may
// hold, and the reasons given for one that is not a printer.
#include "VirtualPrinterTest.h"

namespace vptest {
namespace {

namespace fs = std::filesystem;

class VirtualPrinterFolderTest : public ::testing::Test {
protected:
    ScratchFolder scratch;
};

std::vector<std::string> HiddenFilesBelow(const std::string& dir) {
    std::vector<std::string> hidden;
    for (const auto& entry : fs::recursive_directory_iterator(dir)) {
        if (entry.path().filename().string()[0] == '.') hidden.push_back(entry.path().string());
    }
    return hidden;
}

TEST_F(VirtualPrinterFolderTest, SeedsAMissingFolderWithSampleDataFiles) {
    const std::string dir = scratch / "a/b/printer";
    ASSERT_TRUE(OpenPrinter(dir));
    EXPECT_EQ(ReadFile(dir + "/printer.txt").find("driver-version 3\ntype DAT 16\ntype QV7 30\ntype MAP 10\n") !=
                  std::string::npos,
              true);

    // MM/DD/YY
    auto isDate = [](const Bytes& file) {
        const std::string text(file.begin() + 24, file.begin() + 32);
        for (size_t i : {0, 1, 3, 4, 6, 7}) {
            if (text[i] < '0' || text[i] > '9') return false;
        }
        return text[2] == '/' && text[5] == '/' && text.substr(0, 2) >= "01" && text.substr(0, 2) <= "12" &&
               text.substr(3, 2) >= "01" && text.substr(3, 2) <= "31";
    };
    for (const char* slot : {"01", "02", "03", "05"}) {
        const Bytes file = ReadBytes(dir + "/slots/DAT/" + slot + ".data");
        ASSERT_EQ(file.size(), 26536u) << slot;
        EXPECT_EQ(Bytes(file.begin(), file.begin() + 13), Bytes(13, 0)) << slot;
        EXPECT_EQ(file[14], 0xA5) << slot;
        EXPECT_TRUE(isDate(file)) << slot;
        EXPECT_EQ(Bytes(file.begin() + 32, file.begin() + 36), Bytes(4, 0)) << slot;

        // The record count covers exactly the records that hold something,
        // and each field count byte stops at the record's first empty field.
        const uint8_t records = file[13];
        EXPECT_GE(records, 3) << slot;
        for (int record = 0; record < 100; ++record) {
            const uint8_t* fields = file.data() + 36 + record * 8 * 33;
            int leading = 0;
            while (leading < 8 && fields[leading * 33] != 0) ++leading;
            EXPECT_EQ(leading > 0, record < records) << slot << " record " << record;
            EXPECT_EQ(file[26436 + record], std::min(leading, 7)) << slot << " record " << record;
        }
    }
    const Bytes supplier = ReadBytes(dir + "/slots/DAT/05.data");
    EXPECT_EQ(std::string(supplier.begin() + 15, supplier.begin() + 24), "SUPPLIERS");
    EXPECT_EQ(ReadFile(dir + "/slots/DAT/05.name"), "SUPPLIER\n");
    EXPECT_EQ(HiddenFilesBelow(dir), std::vector<std::string>{});
}

TEST_F(VirtualPrinterFolderTest, SeedsMonochromeSymbolsLabelsAndFirmware) {
    const std::string dir = scratch.Printer();
    ASSERT_TRUE(OpenPrinter(dir));

    // 150 x 150, 1 bit per pixel, rows bottom-up, palette black then white.
    const Bytes header = {'B',  'M',  0xF6, 0x0B, 0,    0,    0,    0,    0,    0,    0x3E, 0,    0,    0,    0x28, 0,
                          0,    0,    0x96, 0,    0,    0,    0x96, 0,    0,    0,    1,    0,    1,    0,    0,    0,
                          0,    0,    0xB8, 0x0B, 0,    0,    0x13, 0x0B, 0,    0,    0x13, 0x0B, 0,    0,    2,    0,
                          0,    0,    2,    0,    0,    0,    0,    0,    0,    0,    0xFF, 0xFF, 0xFF, 0};
    std::vector<Bytes> symbols;
    for (const char* slot : {"01", "02", "03", "04", "05"}) {
        const Bytes bmp = ReadBytes(dir + "/slots/MAP/" + slot + ".data");
        ASSERT_EQ(bmp.size(), 3062u) << slot;
        EXPECT_EQ(Bytes(bmp.begin(), bmp.begin() + 62), header) << slot;
        EXPECT_EQ(ReadFile(dir + "/slots/MAP/" + slot + ".name"), std::string("Btmap") + slot + "\n");
        symbols.push_back(bmp);
    }
    for (size_t i = 1; i < symbols.size(); ++i) EXPECT_NE(symbols[i], symbols[i - 1]);

    // The arrow points up: its head, wide at the bottom, sits above a narrow shaft.
    auto inkInRow = [&](int fromTop) {
        const uint8_t* row = symbols[3].data() + 62 + (149 - fromTop) * 20;
        int ink = 0;
        for (int x = 0; x < 150; ++x) ink += !(row[x / 8] & (0x80 >> (x % 8)));
        return ink;
    };
    EXPECT_EQ(inkInRow(5), 0);
    EXPECT_GT(inkInRow(70), 2 * inkInRow(100));
    EXPECT_GT(inkInRow(100), 0);

    for (const char* slot : {"01", "02", "04"}) {
        EXPECT_EQ(ReadFile(dir + "/slots/QV7/" + slot + ".name"), std::string("Label") + slot + "\n");
        EXPECT_GT(ReadFile(dir + "/slots/QV7/" + slot + ".data").size(), 50u);
    }

    const Bytes firmware = ReadBytes(dir + "/firmware.bin");
    EXPECT_EQ(firmware.size(), 1048576u);
    ScratchFolder other;
    ASSERT_TRUE(OpenPrinter(other.Printer()));
    EXPECT_EQ(ReadBytes(other.Printer() + "/firmware.bin"), firmware) << "the same image every time";
}

TEST_F(VirtualPrinterFolderTest, KeepsAFaultsFileWrittenBeforeSeeding) {
    const std::string dir = scratch.Printer();
    WriteFile(dir + "/faults.txt", "old-firmware\n");
    auto printer = OpenPrinter(dir);
    ASSERT_TRUE(printer);
    EXPECT_EQ(StoredName(*printer, 0, 0), "Blank40 ");
    EXPECT_EQ(ReadFile(dir + "/faults.txt"), "old-firmware\n");
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
    ASSERT_TRUE(printer);
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
        {"no version", {{"printer.txt", "type DAT 4\n"}}, "printer.txt no driver-version line"},
        {"version twice", {{"printer.txt", small + "driver-version 2\n"}}, "line 3: driver-version is given twice"},
        {"no types", {{"printer.txt", "driver-version 1\n"}}, "printer.txt no type line"},
        {"long type name", {{"printer.txt", "driver-version 1\ntype DATA 4\n"}}, "type name 'DATA'"},
        {"type name with a slash", {{"printer.txt", "driver-version 1\ntype D/ 4\n"}}, "type name 'D/'"},
        {"no slots", {{"printer.txt", "driver-version 1\ntype DAT 0\n"}}, "slot count '0'"},
        {"too many slots", {{"printer.txt", "driver-version 1\ntype DAT 256\n"}}, "slot count '256'"},
        {"type twice", {{"printer.txt", small + "type DAT 5\n"}}, "line 3: type DAT is given twice"},
        {"folder of no type", {{"printer.txt", small}, {"slots/QV7/01.name", "X\n"}}, "slots/QV7 is not a folder of a type"},
        {"slot past the last", {{"printer.txt", small}, {"slots/DAT/05.data", "x"}}, "slots/DAT/05.data is not a slot file"},
        {"unpadded slot number", {{"printer.txt", small}, {"slots/DAT/1.data", "x"}}, "slots/DAT/1.data is not a slot file"},
        {"other file in a type", {{"printer.txt", small}, {"slots/DAT/readme", "x"}}, "slots/DAT/readme is not a slot file"},
        {"name without bytes", {{"printer.txt", small}, {"slots/DAT/02.name", "A\n"}}, "slots/DAT/02.name has no 02.data"},
        {"bytes without name", {{"printer.txt", small}, {"slots/DAT/03.data", "x"}}, "slots/DAT/03.data has no 03.name"},
        {"empty name", {{"printer.txt", small}, {"slots/DAT/01.name", "\n"}, {"slots/DAT/01.data", "x"}}, "slots/DAT/01.name is empty"},
        {"long name", {{"printer.txt", small}, {"slots/DAT/01.name", "NINECHARS\n"}, {"slots/DAT/01.data", "x"}}, "stored name 'NINECHARS' is longer than 8"},
        {"firmware folder", {{"printer.txt", small}, {"firmware.bin/x", ""}}, "firmware.bin is not a file"},
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

}  // namespace
}  // namespace vptest
