#include "TerminalSafeText.h"

#include <cstdio>

namespace qv7::virtualprinter {

namespace {

// Length of the well-formed UTF-8 sequence at `at`, or 0.
size_t Utf8SequenceLength(const std::string& text, size_t at) {
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return 0;
    }
    if (at + length > text.size()) return 0;
    if (byte(at + 1) < low || byte(at + 1) > high) return 0;
    for (size_t i = 2; i < length; ++i) {
        if (byte(at + i) < 0x80 || byte(at + i) > 0xBF) return 0;
    }
    return length;
}

// The format characters (Unicode category Cf): unseen, yet they reorder what
// follows (bidirectional controls), join or split it, or hide text (tags).
struct CodePointRange {
    char32_t first;
    char32_t last;
};
constexpr CodePointRange kFormatCharacters[] = {
    {0x00AD, 0x00AD},   {0x0600, 0x0605},   {0x061C, 0x061C},   {0x06DD, 0x06DD},   {0x070F, 0x070F},
    {0x0890, 0x0891},   {0x08E2, 0x08E2},   {0x180E, 0x180E},   {0x200B, 0x200F},   {0x202A, 0x202E},
    {0x2060, 0x2064},   {0x2066, 0x206F},   {0xFEFF, 0xFEFF},   {0xFFF9, 0xFFFB},   {0x110BD, 0x110BD},
    {0x110CD, 0x110CD}, {0x13430, 0x1343F}, {0x1BCA0, 0x1BCA3}, {0x1D173, 0x1D17A}, {0xE0001, 0xE0001},
    {0xE0020, 0xE007F},
};

// The code point of a well-formed sequence of `length` bytes at `at`.
char32_t DecodeUtf8(const std::string& text, size_t at, size_t length) {
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[at + i]); };
    char32_t c = byte(0) & (0xFF >> (length + 1));
    for (size_t i = 1; i < length; ++i) c = c << 6 | (byte(i) & 0x3F);
    return c;
}

// C1 controls (U+0080 to U+009F; a terminal takes U+009B as CSI) and format characters.
bool IsUnseen(char32_t c) {
    if (c >= 0x80 && c <= 0x9F) return true;
    for (const CodePointRange& range : kFormatCharacters) {
        if (c >= range.first && c <= range.last) return true;
    }
    return false;
}

void AppendEscaped(std::string* out, unsigned char byte) {
    char escaped[8];
    std::snprintf(escaped, sizeof escaped, "\\x%02x", byte);
    out->append(escaped);
}

}  // namespace

std::string TerminalSafeText(const std::string& text, size_t limit) {
    std::string safe;
    size_t at = 0;
    while (at < text.size() && at < limit) {
        const unsigned char byte = static_cast<unsigned char>(text[at]);
        if (byte >= 0x20 && byte < 0x7F) {
            safe.push_back(static_cast<char>(byte));
            ++at;
            continue;
        }
        const size_t length = byte >= 0x80 ? Utf8SequenceLength(text, at) : 0;
        if (length == 0) {
            AppendEscaped(&safe, byte);
            ++at;
            continue;
        }
        if (IsUnseen(DecodeUtf8(text, at, length))) {
            for (size_t i = 0; i < length; ++i) AppendEscaped(&safe, static_cast<unsigned char>(text[at + i]));
            at += length;
            continue;
        }
        safe.append(text, at, length);
        at += length;
    }
    if (at < text.size()) safe.append("...");
    return safe;
}

}  // namespace qv7::virtualprinter
