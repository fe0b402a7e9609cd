#include "Windows1252.h"

#include <QList>

#include <algorithm>
#include <iterator>

namespace quillory {

namespace {

// What 0x80 to 0x9F stand for; the rest of the bytes are the code points of
// the same numbers.
constexpr char16_t kHighControlRange[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

constexpr char32_t kFirstHigh = 0x80;
constexpr char32_t kPastHigh = 0xA0;
constexpr char32_t kPastByte = 0x100;

}  // namespace

bool Windows1252Byte(char32_t character, char* byte) {
    if (character < kFirstHigh || (character >= kPastHigh && character < kPastByte)) {
        *byte = static_cast<char>(character);
        return true;
    }
    const auto* found = std::find(std::begin(kHighControlRange), std::end(kHighControlRange), character);
    if (found == std::end(kHighControlRange)) return false;
    *byte = static_cast<char>(kFirstHigh + (found - std::begin(kHighControlRange)));
    return true;
}

QByteArray ToWindows1252(const QString& text) {
    QByteArray bytes;
    for (const char32_t character : text.toUcs4()) {
        char byte;
        bytes.append(Windows1252Byte(character, &byte) ? byte : '?');
    }
    return bytes;
}

QString FromWindows1252(QByteArrayView bytes) {
    QString text;
    text.reserve(bytes.size());
    for (const char byte : bytes) {
        const auto value = static_cast<unsigned char>(byte);
        const bool high = value >= kFirstHigh && value < kPastHigh;
        text.append(QChar(high ? kHighControlRange[value - kFirstHigh] : char16_t(value)));
    }
    return text;
}

}  // namespace quillory
