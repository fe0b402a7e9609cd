// What the data file tests share: a hand-made data file to compare against.
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

}  // namespace quillory::test

#endif
