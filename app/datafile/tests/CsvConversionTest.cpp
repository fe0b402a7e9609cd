// CSV file in, data file out, checked against files laid out by hand.
#include "CDataFileTable.h"
#include "CsvConversion.h"
#include "DataFileTestSupport.h"

namespace quillory::test {
namespace {

const QByteArray kDate = Raw("11/30/25\0\0\0\0");

class CsvConversionTest : public quillorytest::PrinterFolderTest {
protected:
    bool Convert(const QByteArray& csv, const QString& title = "Stock") {
        Write(Path("in.csv"), csv);
        return ConvertCsvToDataFile(table, Path("in.csv"), title, Path("out.dat"), prompt);
    }

    FixedClock clock{{2025, 11, 30}};
    RecordingPrompt prompt;
    CDataFileTable table;
};

// The blank third line ends the record count; the line after it is still written.
TEST_F(CsvConversionTest, EveryLineEndingGivesTheSameFile) {
    QByteArray expected = BlankDataFile(2, Raw("Stock\0\0\0\0"), kDate);
    Put(expected, 36, "Tea");          // record 0, field 0
    Put(expected, 69, "2.50");         // record 0, field 1
    Put(expected, 300, "Cups, blue");  // record 1, field 0
    Put(expected, 333, "4");           // record 1, field 1
    Put(expected, 366, "say \"hi\"");  // record 1, field 2
    Put(expected, 828, "end");         // record 3, field 0
    Put(expected, 26436, Raw("\x02\x03\x00\x01"));

    const QByteArrayList lines = {"Tea,2.50", "\"Cups, blue\",4,\"say \"\"hi\"\"\"", "", "end"};
    for (const char* ending : {"\r\n", "\n", "\r"}) {
        for (const bool endedLastLine : {true, false}) {
            const QByteArray csv = lines.join(ending) + (endedLastLine ? ending : "");
            ASSERT_TRUE(Convert(csv)) << ::testing::PrintToString(prompt.Texts());
            EXPECT_TRUE(SameBytes(Read(Path("out.dat")), expected)) << csv.toHex().toStdString();
        }
    }
}

TEST_F(CsvConversionTest, HundredAndFirstLineIsDropped) {
    QByteArray csv;
    for (int line = 1; line <= 101; ++line) csv += "line " + QByteArray::number(line) + "\r\n";
    ASSERT_TRUE(Convert(csv));
    const QByteArray written = Read(Path("out.dat"));
    EXPECT_EQ(written[13], 100);
    EXPECT_EQ(written.mid(26172, 9), Raw("line 100\0"));
    EXPECT_FALSE(written.contains("line 101"));
}

TEST_F(CsvConversionTest, FailuresShowTheirMessageAndWriteNothing) {
    Write(Path("out.dat"), "the user's good file");
    const QByteArray fieldTooLong = "a,b\r\nc,d," + QByteArray(34, 'x') + "\r\n";

    EXPECT_FALSE(ConvertCsvToDataFile(table, Path("missing.csv"), "missing", Path("out.dat"), prompt));
    EXPECT_FALSE(ConvertCsvToDataFile(table, scratch.path(), "folder", Path("out.dat"), prompt));
    EXPECT_FALSE(Convert(QByteArray("a,b\r\n").repeated(1308)));  // 6540 characters
    EXPECT_FALSE(Convert(fieldTooLong));
    EXPECT_FALSE(Convert("a,b\r\n", " "));
    // A spreadsheet's "Unicode text": 20,000 bytes of UTF-16.
    const QString unicode = QString("Name,Price\r\n").repeated(770);
    EXPECT_FALSE(Convert(Raw("\xff\xfe") + QByteArray(reinterpret_cast<const char*>(unicode.utf16()),
                                                       unicode.size() * 2)));

    EXPECT_EQ(prompt.Texts(), (Texts{"Error opening CSV file.", "Error opening CSV file.",
                                     "error2:csv[QV7DATAFILE_MAX_CSV_CHARS] is too small",
                                     "Field in line 2, column 3 is longer than 33 characters.",
                                     "Enter a name for database.",
                                     "The CSV file is UTF-16 (\"Unicode\") text, which a data file cannot hold.\n"
                                     "Save it as CSV in UTF-8 or your usual code page and convert it again."}));
    EXPECT_EQ(Read(Path("out.dat")), "the user's good file");
}

TEST_F(CsvConversionTest, EachConversionStartsFromAnEmptyTable) {
    ASSERT_TRUE(Convert("1,2,3,4,5,6,7,8\r\n9\r\n"));
    ASSERT_TRUE(Convert("x\r\n", "Other"));
    QByteArray expected = BlankDataFile(1, Raw("Other\0\0\0\0"), kDate);
    Put(expected, 36, "x");
    Put(expected, 26436, "\x01");
    EXPECT_TRUE(SameBytes(Read(Path("out.dat")), expected));
}

}  // namespace
}  // namespace quillory::test
