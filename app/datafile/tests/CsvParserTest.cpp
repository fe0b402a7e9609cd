// The CSV rules, tried on bytes alone.
#include "CDataFileTable.h"
#include "CsvParser.h"
#include "DataFileTestSupport.h"
#include "Windows1252.h"

namespace quillory::test {
namespace {

// Every record and field of the table must match; records past the list are empty.
::testing::AssertionResult HoldsRecords(const CDataFileTable& table, const Records& records) {
    for (int r = 0; r < CDataFileTable::kRecords; ++r) {
        for (int f = 0; f < CDataFileTable::kFieldsPerRecord; ++f) {
            const bool listed = r < int(records.size()) && f < int(records[r].size());
            const QByteArray expected = listed ? records[r][f] : QByteArray();
            if (table.fields[r][f] != expected) {
                return ::testing::AssertionFailure() << "record " << r << " field " << f << " is '"
                                                     << table.fields[r][f].toStdString() << "', expected '"
                                                     << expected.toStdString() << "'";
            }
        }
    }
    return ::testing::AssertionSuccess();
}

TEST(CsvParserTest, FieldQuotingAndCharacterRules) {
    for (const CsvCase& c : CsvCases()) {
        CDataFileTable table;
        EXPECT_EQ(ParseCsvText(c.csv, table).status, CsvParseStatus::Parsed) << c.what;
        EXPECT_TRUE(HoldsRecords(table, c.records)) << c.what;
    }
}

// A zero byte once cut the text short without a word: a UTF-16 file became
// its first letter, and a file far over the limit passed. The limit counts
// characters, not the bytes UTF-8 takes for them.
TEST(CsvParserTest, TextMustBeEightBitFitTheBufferAndHoldAField) {
    const QByteArray e = "\xC3\xA9";  // é in UTF-8
    const struct {
        QByteArray csv;
        CsvParseStatus status;
    } cases[] = {
        {'a' + QByteArray(6538, ','), CsvParseStatus::Parsed},
        {'a' + QByteArray(6539, ','), CsvParseStatus::TextTooLong},
        {"\xEF\xBB\xBF" + (e + ',').repeated(3269) + e, CsvParseStatus::Parsed},  // 6539 characters
        {(e + ',').repeated(3270), CsvParseStatus::TextTooLong},
        {QByteArray(6539, ',') + '\0' + QByteArray(5000, 'x'), CsvParseStatus::ZeroByte},
        {Raw("a\0,\0b\0"), CsvParseStatus::ZeroByte},
        {Raw("\xff\xfe" "a\0,\0b\0"), CsvParseStatus::Utf16Text},
        // Marked as UTF-8, yet not: its é would be read as two wrong letters.
        {"\xEF\xBB\xBF" "Caf\xE9", CsvParseStatus::BrokenUtf8},
        {"", CsvParseStatus::Empty},
        {" ,\"\",\t\r\n\r\n,\n", CsvParseStatus::Empty},
    };
    for (const auto& c : cases) {
        CDataFileTable table;
        EXPECT_EQ(ParseCsvText(c.csv, table).status, c.status) << c.csv.left(40).toHex().toStdString();
    }
}

TEST(CsvParserTest, RefusedFieldNamesLineColumnAndCharacter) {
    const QByteArray a33(33, 'a');
    const QByteArray a34(34, 'a');
    const QByteArray arrow = "\xE2\x86\x92";  // U+2192, not in the code page
    const struct {
        const char* what;
        QByteArray csv;
        CsvParseStatus status;
        int line;
        int column;
        char32_t character;
    } cases[] = {
        {"33 fits", a33 + "\r\n", CsvParseStatus::Parsed, 0, 0, 0},
        {"34 does not", a34 + "\r\n", CsvParseStatus::FieldTooLong, 1, 1, 0},
        {"white space is trimmed first", "  " + a33 + "\t", CsvParseStatus::Parsed, 0, 0, 0},
        {"not trimmed after a blank record", "a\r\n\r\n " + a33, CsvParseStatus::FieldTooLong, 3, 1, 0},
        {"quoted break counts as a line", "\"x\ny\",b\n" + a34, CsvParseStatus::FieldTooLong, 3, 1, 0},
        {"dropped column", "1,2,3,4,5,6,7,8," + a34, CsvParseStatus::Parsed, 0, 0, 0},
        {"34 do not", QByteArray("\xC3\xA9").repeated(34), CsvParseStatus::FieldTooLong, 1, 1, 0},
        {"character the code page lacks", "a,b\r\nc,\"d " + arrow + "\"", CsvParseStatus::UnmappedCharacter, 2, 2,
         U'\u2192'},
        {"a control character of UTF-8", "x\xC2\x85", CsvParseStatus::UnmappedCharacter, 1, 1, char32_t(0x85)},
        {"in a dropped column", "1,2,3,4,5,6,7,8," + arrow + "\r\nnext", CsvParseStatus::Parsed, 0, 0, 0},
    };
    for (const auto& c : cases) {
        CDataFileTable table;
        const CsvParseResult result = ParseCsvText(c.csv, table);
        EXPECT_EQ(result.status, c.status) << c.what;
        EXPECT_EQ(result.line, c.line) << c.what;
        EXPECT_EQ(result.column, c.column) << c.what;
        EXPECT_EQ(result.character, c.character) << c.what;
    }
}

// Every byte a data file can hold is one character and comes back as itself,
// so a data file survives the trip through UTF-8 whatever it holds.
TEST(Windows1252, EveryByteIsOneCharacterAndComesBack) {
    QByteArray all;
    for (int b = 1; b < 256; ++b) all.append(static_cast<char>(b));
    const QString text = FromWindows1252(all);
    ASSERT_EQ(text.size(), all.size());
    EXPECT_EQ(ToWindows1252(text), all);
    EXPECT_EQ(FromWindows1252("\x80\x81\x9F\xE9"), QString::fromUtf8("\xE2\x82\xAC\xC2\x81\xC5\xB8\xC3\xA9"));
    EXPECT_EQ(ToWindows1252(QString::fromUtf8("\xC2\x80\xE2\x86\x92x")), "??x");
}

}  // namespace
}  // namespace quillory::test
