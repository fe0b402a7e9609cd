// The CSV rules, tried on bytes alone.
#include "CDataFileTable.h"
#include "CsvParser.h"
#include "DataFileTestSupport.h"

namespace quillory::test {
namespace {

using Records = std::vector<std::vector<QByteArray>>;

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

TEST(CsvParserTest, FieldAndQuotingRules) {
    const struct {
        const char* what;
        QByteArray csv;
        Records records;
    } cases[] = {
        {"three words", "red,green,blue\r\n", {{"red", "green", "blue"}}},
        {"ten values keep eight", "1,2,3,4,5,6,7,8,9,10\r\nnext\r\n", {{"1", "2", "3", "4", "5", "6", "7", "8"}, {"next"}}},
        {"quoted comma", "\"Smith, J\",x\r\n", {{"Smith, J", "x"}}},
        {"doubled quotes", "\"say \"\"hi\"\"\",\"end\"\"\"\r\n", {{"say \"hi\"", "end\""}}},
        {"two marks alone", "\"\",x\r\n", {{"", "x"}}},
        {"marks only", "\"\"\"\",\"\"\"\r\n", {{"\"", "\""}}},
        {"marks inside unquoted", "ab\"c,d\"\r\n", {{"ab\"c", "d\""}}},
        {"quoted CR LF", "\"a\r\nb\",c\r\nd\r\n", {{"a\r\nb", "c"}, {"d"}}},
        {"quoted LF", "\"a\nb\",c\nd", {{"a\nb", "c"}, {"d"}}},
        {"blank line", "a\r\n\r\nb\r\n", {{"a"}, {}, {"b"}}},
        {"last line without ending", "a,b\r\nc,d", {{"a", "b"}, {"c", "d"}}},
        {"unclosed quote kept", "a,\"bc\r\nd", {{"a", "\"bc\r\nd"}}},
        {"dropped column with quoted break",
         "1,2,3,4,5,6,7,8,\"x\r\ny\",z\r\nnext",
         {{"1", "2", "3", "4", "5", "6", "7", "8"}, {"next"}}},
    };
    for (const auto& c : cases) {
        CDataFileTable table;
        EXPECT_EQ(ParseCsvText(c.csv, table).status, CsvParseStatus::Parsed) << c.what;
        EXPECT_TRUE(HoldsRecords(table, c.records)) << c.what;
    }
}

// A zero byte once cut the text short without a word: a UTF-16 file became
// its first letter, and a file far over the limit passed.
TEST(CsvParserTest, TextMustBeEightBitAndFitTheBuffer) {
    const struct {
        QByteArray csv;
        CsvParseStatus status;
    } cases[] = {
        {QByteArray(6539, ','), CsvParseStatus::Parsed},
        {QByteArray(6540, ','), CsvParseStatus::TextTooLong},
        {QByteArray(6539, ',') + '\0' + QByteArray(5000, 'x'), CsvParseStatus::ZeroByte},
        {Raw("a\0,\0b\0"), CsvParseStatus::ZeroByte},
        {Raw("\xff\xfe" "a\0,\0b\0"), CsvParseStatus::Utf16Text},
        {Raw("\xfe\xff\0a\0,\0b"), CsvParseStatus::Utf16Text},
    };
    for (const auto& c : cases) {
        CDataFileTable table;
        EXPECT_EQ(ParseCsvText(c.csv, table).status, c.status) << c.csv.size();
    }
}

TEST(CsvParserTest, FieldTooLongForItsSlotNamesLineAndColumn) {
    const QByteArray a33(33, 'a');
    const QByteArray a34(34, 'a');
    const struct {
        const char* what;
        QByteArray csv;
        CsvParseStatus status;
        int line;
        int column;
    } cases[] = {
        {"33 fits", a33 + "\r\n", CsvParseStatus::Parsed, 0, 0},
        {"34 does not", a34 + "\r\n", CsvParseStatus::FieldTooLong, 1, 1},
        {"second line, second column", "a,b\r\nc," + a34 + "\r\n", CsvParseStatus::FieldTooLong, 2, 2},
        {"white space is trimmed first", "  " + a33 + "\t", CsvParseStatus::Parsed, 0, 0},
        {"not trimmed after a blank record", "a\r\n\r\n " + a33, CsvParseStatus::FieldTooLong, 3, 1},
        {"quoted break counts as a line", "\"x\ny\",b\n" + a34, CsvParseStatus::FieldTooLong, 3, 1},
        {"dropped column", "1,2,3,4,5,6,7,8," + a34, CsvParseStatus::Parsed, 0, 0},
    };
    for (const auto& c : cases) {
        CDataFileTable table;
        const CsvParseResult result = ParseCsvText(c.csv, table);
        EXPECT_EQ(result.status, c.status) << c.what;
        EXPECT_EQ(result.line, c.line) << c.what;
        EXPECT_EQ(result.column, c.column) << c.what;
    }
}

}  // namespace
}  // namespace quillory::test
