#include "TerminalText.h"

#include <string>

namespace qv7cli {

namespace {

bool Shows(QChar c) {
    return c == QLatin1Char('\n') || c == QLatin1Char(' ') || (c.isPrint() && !(c.unicode() >= 0x80 && c.unicode() <= 0x9F));
}

}  // namespace

QByteArray TerminalText(const QString& text, qsizetype limit) {
    QString shown;
    qsizetype at = 0;
    for (; at < text.size() && at < limit; ++at) {
        const QChar c = text.at(at);
        // Half a surrogate pair prints as nothing; a whole pair goes through.
        if (c.isHighSurrogate() && at + 1 < text.size() && text.at(at + 1).isLowSurrogate()) {
            shown += c;
            shown += text.at(++at);
        } else if (Shows(c)) {
            shown += c;
        } else if (c.unicode() < 0x100) {
            shown += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
        } else {
            shown += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
        }
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
    for (const QChar c : text) {
        if (Shows(c) || c.isSurrogate()) {
            safe += c;
        } else {
            safe += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
        }
    }
    return safe.toUtf8();
}

}  // namespace qv7cli
