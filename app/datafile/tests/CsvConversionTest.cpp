// CSV file in, data file out, checked against files laid out by hand.
#include <QDir>

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

// The blank third line ends the record count; the line after it is still
// written. Each conversion starts from an empty table: nothing of the wider
// file converted first may show through.
TEST_F(CsvConversionTest, EveryLineEndingGivesTheSameFile) {
    ASSERT_TRUE(Convert("1,2,3,4,5,6,7,8\r\n9\r\n9\r\n9\r\n9\r\n", "Other"));
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
    EXPECT_FALSE(Convert(fieldTooLong));
    EXPECT_FALSE(Convert("a,b\r\n", " "));
    EXPECT_FALSE(Convert("a,\xE2\x86\x92\r\n"));
    EXPECT_FALSE(Convert("\xEF\xBB\xBF" "Caf\xE9\r\n"));
    EXPECT_FALSE(Convert(""));

    EXPECT_EQ(prompt.Texts(), (Texts{"Error opening CSV file.",
                                     "Field in line 2, column 3 is longer than 33 characters.",
                                     "Enter a name for database.",
                                     "Field in line 1, column 2 holds the character \"\xE2\x86\x92\" (U+2192), which a "
                                     "data file cannot hold:\na data file holds Western European text (Windows-1252).",
                                     "The CSV file starts with the UTF-8 byte-order mark but is not UTF-8 text.\n"
                                     "Save it as CSV in UTF-8 and convert it again.",
                                     "The CSV file is empty: there is no text to convert."}));
    EXPECT_EQ(Read(Path("out.dat")), "the user's good file");
}

// The title comes as text; the header holds 9 characters of the code page,
// never a cut UTF-8 sequence.
TEST_F(CsvConversionTest, DatabaseNameIsTheTitleInTheDataFilesCodePage) {
    ASSERT_TRUE(Convert("x\r\n", QString::fromUtf8("Cr\xC3\xA8me br\xC3\xBBl\xC3\xA9" "e")));
    EXPECT_EQ(Read(Path("out.dat")).mid(15, 9), "Cr\xE8me br\xFB");
    ASSERT_TRUE(Convert("x\r\n", QString::fromUtf8("\xE4\xBB\xB7 list")));
    EXPECT_EQ(Read(Path("out.dat")).mid(15, 9), Raw("? list\0\0\0"));
}

// Back to CSV: every text the parser reads comes back as the same records,
// and so as the same data file.
TEST_F(CsvConversionTest, DataFileBackToCsvGivesTheSameRecords) {
    for (const CsvCase& c : CsvCases()) {
        ASSERT_TRUE(Convert(c.csv)) << c.what;
        const QByteArray dataFile = Read(Path("out.dat"));
        ASSERT_TRUE(ConvertDataFileToCsv(table, Path("out.dat"), Path("back.csv"), prompt)) << c.what;
        ASSERT_TRUE(Convert(Read(Path("back.csv")))) << c.what << ": " << Read(Path("back.csv")).toStdString();
        EXPECT_TRUE(SameBytes(Read(Path("out.dat")), dataFile)) << c.what;
    }
    EXPECT_TRUE(prompt.shown.empty()) << ::testing::PrintToString(prompt.Texts());

    // As spreadsheets write it: CR LF, quotation marks only where needed, and
    // UTF-8 with its mark once a character is not ASCII.
    ASSERT_TRUE(Convert("Tea,2.50\n\"Cups, blue\",say \"hi\"\n\nCaf\xC3\xA9 \n"));
    int records = 0;
    ASSERT_TRUE(ConvertDataFileToCsv(table, Path("out.dat"), Path("back.csv"), prompt, &records));
    EXPECT_EQ(Read(Path("back.csv")),
              "\xEF\xBB\xBF" "Tea,2.50\r\n\"Cups, blue\",\"say \"\"hi\"\"\"\r\n\r\n\"Caf\xC3\xA9 \"\r\n");
    EXPECT_EQ(records, 4);
}

TEST_F(CsvConversionTest, OnlyAWholeDataFileGoesBackToCsvAndAFailureWritesNothing) {
    Write(Path("out.csv"), "the user's good file");
    QByteArray good = BlankDataFile(1, Raw("n\0\0\0\0\0\0\0\0"), kDate);
    Put(good, 36, "x");
    QByteArray noMarker = good;
    noMarker[14] = 'x';
    QByteArray unwritable = good;
    Put(unwritable, 36 + 2 * 264 + 33, "\"\",x");  // record 3, field 2: it would read back as two fields
    auto toCsv = [&](const QString& path) { return ConvertDataFileToCsv(table, path, Path("out.csv"), prompt); };

    EXPECT_FALSE(toCsv(Path("missing.dat")));
    EXPECT_FALSE(toCsv(scratch.path()));
    for (const QByteArray& input : {good.chopped(1), good + 'x', QByteArray(), noMarker, unwritable}) {
        Write(Path("in.dat"), input);
        EXPECT_FALSE(toCsv(Path("in.dat")));
    }
    Write(Path("in.dat"), good);
    EXPECT_FALSE(ConvertDataFileToCsv(table, Path("in.dat"), Path("missing/out.csv"), prompt));

    EXPECT_EQ(prompt.Texts(),
              (Texts{"Error opening data file.", "Error opening data file.",
                     "The file is not a QV7 data file: it has 26535 bytes, a data file 26536.",
                     "The file is not a QV7 data file: it has 26537 bytes, a data file 26536.",
                     "The file is not a QV7 data file: it has 0 bytes, a data file 26536.",
                     "The file is not a QV7 data file: it lacks the data file marker.",
                     "Field 2 of record 3 cannot be written as CSV text: it comes after a blank record and starts\n"
                     "with a comma or a line break (after quotation marks or not), which the CSV conversion would "
                     "read otherwise.",
                     "Error opening new file."}));
    EXPECT_EQ(Read(Path("out.csv")), "the user's good file");
    EXPECT_EQ(QDir(scratch.path()).entryList(QDir::Files | QDir::Hidden), (QStringList{"in.dat", "out.csv"}));
}

}  // namespace
}  // namespace quillory::test
