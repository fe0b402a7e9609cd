// What the data file tests share: a prompt that records every message, a
// fixed clock, file helpers and a hand-made data file to compare against.
#ifndef QUILLORY_DATAFILE_TEST_SUPPORT_H
#define QUILLORY_DATAFILE_TEST_SUPPORT_H

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "PromptPort.h"
#include "qv7/Clock.h"

namespace quillory::test {

class ScriptedPrompt final : public PromptPort {
public:
    MessageAnswer ShowMessage(const QString& text, MessageIcon icon, MessageButtons buttons) override {
        messages.append(text);
        icons.push_back(icon);
        this->buttons.push_back(buttons);
        return buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::No;
    }

    QStringList messages;
    std::vector<MessageIcon> icons;
    std::vector<MessageButtons> buttons;
};

// Installed for the lifetime of the object.
class FixedClock final : public qv7::Clock {
public:
    explicit FixedClock(qv7::UtcDate today) : date(today) { qv7::SetClock(this); }
    ~FixedClock() override { qv7::SetClock(nullptr); }
    uint64_t MonotonicMs() override { return 0; }
    qv7::UtcDate TodayUtc() override { return date; }

    qv7::UtcDate date;
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

inline QByteArray ReadBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

inline void WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) std::abort();
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
