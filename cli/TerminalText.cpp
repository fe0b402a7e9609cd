#include "TerminalText.h"

#include <string>

#include "SlotFilePath.h"

namespace qv7cli {

namespace {

// Characters other than these print as nothing, move the cursor, reorder
// what follows (bidirectional controls) or hide text (tag characters).
bool Shows(char32_t c) {
    return c == U'\n' || c == U' ' || QChar::isPrint(c);
}

// The character at `at` as a code point, with the UTF-16 units it takes.
char32_t CodePointAt(const QString& text, qsizetype at, qsizetype* units) {
    const QChar c = text.at(at);
    *units = 1;
    if (c.isHighSurrogate() && at + 1 < text.size() && text.at(at + 1).isLowSurrogate()) {
        *units = 2;
        return QChar::surrogateToUcs4(c, text.at(at + 1));
    }
    return c.unicode();
}

}  // namespace

QByteArray TerminalText(const QString& text, qsizetype limit) {
    QString shown;
    qsizetype at = 0;
    while (at < text.size() && at < limit) {
        qsizetype units = 1;
        const char32_t c = CodePointAt(text, at, &units);
        shown += Shows(c) ? text.mid(at, units) : quillory::EscapedCodePoint(c);
        at += units;
    }
    if (at < text.size()) shown += QLatin1String("...");
    return shown.toLocal8Bit();
}

QByteArray TerminalText(const std::string& localText, qsizetype limit) {
    return TerminalText(QString::fromLocal8Bit(localText.data(), static_cast<qsizetype>(localText.size())), limit);
}

QByteArray TerminalSafeJson(const QByteArray& json) {
    const QString text = QString::fromUtf8(json);
    QString safe;
    for (qsizetype at = 0; at < text.size();) {
        qsizetype units = 1;
        const char32_t c = CodePointAt(text, at, &units);
        if (Shows(c)) {
            safe += text.mid(at, units);
        } else {
            // JSON knows only \uNNNN: a character above U+FFFF is its two halves.
            for (qsizetype i = at; i < at + units; ++i) {
                safe += QStringLiteral("\\u%1").arg(text.at(i).unicode(), 4, 16, QLatin1Char('0'));
            }
        }
        at += units;
    }
    return safe.toUtf8();
}

}  // namespace qv7cli
