// What the data file tests share: a hand-made data file to compare against,
// and the CSV texts the parser and the round trip back to CSV are tried on.
// Prompts, clocks and the temporary folder are the service tests' and the
// library tests' own.
#ifndef QUILLORY_DATAFILE_TEST_SUPPORT_H
#define QUILLORY_DATAFILE_TEST_SUPPORT_H

#include <QByteArray>
#include <QString>
#include <string>

#include <gtest/gtest.h>

#include <vector>

#include "ScriptedDriver.h"
#include "VirtualPrinterService.h"

namespace quillory::test {

using quillorytest::RecordingPrompt;
using quillorytest::ShownMessage;
using Texts = std::vector<std::string>;

// The clock reads `today` and stands still.
struct FixedClock : qv7test::SteppingClock {
    explicit FixedClock(qv7::UtcDate date) : SteppingClock(0) { today = date; }
};

// Bytes of a literal, zero bytes inside it included.
template <std::size_t N>
QByteArray Raw(const char (&text)[N]) {
    return QByteArray(text, N - 1);
}

// Names the first differing offset instead of dumping 26 KB.
inline ::testing::AssertionResult SameBytes(const QByteArray& actual, const QByteArray& expected) {
    qsizetype i = 0;
    while (i < actual.size() && i < expected.size() && actual[i] == expected[i]) ++i;
    if (actual.size() == expected.size() && i == actual.size()) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "first difference at byte " << i << " (sizes " << actual.size() << " and "
                                         << expected.size() << ")";
}

// A data file with every field empty: 13 zero bytes, the record count, 0xA5,
// the 9-byte name at 15 and the 12-byte date at 24; fields from 36, field
// counts from 26436. Both texts are given with their zero padding.
inline QByteArray BlankDataFile(char recordCount, QByteArrayView name9, QByteArrayView date12) {
    QByteArray file(26536, '\0');
    file[13] = recordCount;
    file[14] = '\xA5';
    file.replace(15, 9, name9.toByteArray());
    file.replace(24, 12, date12.toByteArray());
    return file;
}

inline void Put(QByteArray& file, int offset, QByteArrayView bytes) {
    file.replace(offset, bytes.size(), bytes.toByteArray());
}

using Records = std::vector<std::vector<QByteArray>>;

// A CSV text and the records the parser makes of it, in the data file's code page.
struct CsvCase {
    const char* what;
    QByteArray csv;
    Records records;
};

inline const std::vector<CsvCase>& CsvCases() {
    static const std::vector<CsvCase> cases = {
        {"three words", "red,green,blue\r\n", {{"red", "green", "blue"}}},
        {"ten values keep eight",
         "1,2,3,4,5,6,7,8,9,10\r\nnext\r\n",
         {{"1", "2", "3", "4", "5", "6", "7", "8"}, {"next"}}},
        {"quoted comma", "\"Smith, J\",x\r\n", {{"Smith, J", "x"}}},
        {"doubled quotes", "\"say \"\"hi\"\"\",\"end\"\"\"\r\n", {{"say \"hi\"", "end\""}}},
        {"two marks alone", "\"\",x\r\n", {{"", "x"}}},
        {"marks only", "\"\"\"\",\"\"\"\r\n", {{"\"", "\""}}},
        {"marks inside unquoted", "ab\"c,d\"\r\n", {{"ab\"c", "d\""}}},
        {"quoted CR LF", "\"a\r\nb\",c\r\nd\r\n", {{"a\r\nb", "c"}, {"d"}}},
        {"quoted LF", "\"a\nb\",c\nd", {{"a\nb", "c"}, {"d"}}},
        {"blank line", "a\r\n\r\nb\r\n", {{"a"}, {}, {"b"}}},
        // Trimmed in the data file, they start with a comma: a blank keeps them open.
        {"blank before a comma", "\" ,x\",\" \"\",y\"\r\n", {{" ,x", " \",y"}}},
        {"last line without ending", "a,b\r\nc,d", {{"a", "b"}, {"c", "d"}}},
        {"unclosed quote kept", "a,\"bc\r\nd", {{"a", "\"bc\r\nd"}}},
        {"dropped column with quoted break",
         "1,2,3,4,5,6,7,8,\"x\r\ny\",z\r\nnext",
         {{"1", "2", "3", "4", "5", "6", "7", "8"}, {"next"}}},
        {"blanks kept after a blank record", "a\r\n\r\n b ,\"\tc\"\r\n", {{"a"}, {}, {" b ", "\tc"}}},
        {"UTF-8 with its mark", "\xEF\xBB\xBF" "Caf\xC3\xA9,\xE2\x82\xAC 5\r\n", {{"Caf\xE9", "\x80 5"}}},
        {"UTF-8 without it", "\xE2\x80\x9Cx\xE2\x80\x9D,\xC5\xB8\r\n", {{"\x93x\x94", "\x9F"}}},
        // Bytes 0x80 to 0x9F are characters of the code page, not UTF-8.
        {"not UTF-8: byte for byte", "Caf\xE9,\x93x\x94\r\n", {{"Caf\xE9", "\x93x\x94"}}},
    };
    return cases;
}

}  // namespace quillory::test

#endif
