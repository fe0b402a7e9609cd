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
        // U+0080 to U+009F are the C1 controls: a terminal takes U+009B as CSI.
        const bool c1 = length == 2 && byte == 0xC2 && static_cast<unsigned char>(text[at + 1]) <= 0x9F;
        if (length == 0 || c1) {
            AppendEscaped(&safe, byte);
            ++at;
            continue;
        }
        safe.append(text, at, length);
        at += length;
    }
    if (at < text.size()) safe.append("...");
    return safe;
}

}  // namespace qv7::virtualprinter
