#include "SlotFilePath.h"

#include "PlatformPaths.h"

namespace quillory {

const char kUnusableStoredName[] =
    "The printer's file name \"%1\" cannot be used as a file name on this PC.\nNothing was saved.";

namespace {

// Characters that are not seen but change how a name looks or reads: controls
// (C0, DEL, C1 such as U+009B, which terminals take as an escape), format
// characters (bidirectional overrides and isolates, zero-width ones, the tag
// characters above U+FFFF) and half of a surrogate pair. The callback gets
// each character as a code point, with whether it is one of them.
template <typename Visit>
void ForEachCodePoint(const QString& text, Visit visit) {
    for (qsizetype at = 0; at < text.size(); ++at) {
        char32_t c = text.at(at).unicode();
        if (QChar::isHighSurrogate(c) && at + 1 < text.size() && text.at(at + 1).isLowSurrogate()) {
            c = QChar::surrogateToUcs4(text.at(at), text.at(at + 1));
            ++at;
        }
        const QChar::Category category = QChar::category(c);
        visit(c, category == QChar::Other_Control || category == QChar::Other_Format ||
                     category == QChar::Other_Surrogate);
    }
}

}  // namespace

bool IsPlainFileName(const QString& name) {
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String("..")) return false;
    bool plain = true;
    ForEachCodePoint(name, [&plain](char32_t c, bool hidden) {
        if (hidden || c == U'/' || c == U'\\') plain = false;
    });
    return plain;
}

bool BuildSlotFilePath(const QString& folder, const QString& storedName, FileKind kind, QString* path) {
    if (!IsPlainFileName(storedName)) return false;
    QString base = folder;
    if (base.size() > 1 && base.endsWith(PlatformPaths::Separator())) base.chop(1);
    *path = PlatformPaths::Join(base, storedName + QLatin1String(KindInfo(kind).extension));
    return true;
}

QString EscapedCodePoint(char32_t c) {
    if (c < 0x100) return QStringLiteral("\\x%1").arg(uint(c), 2, 16, QLatin1Char('0'));
    if (c < 0x10000) return QStringLiteral("\\u%1").arg(uint(c), 4, 16, QLatin1Char('0'));
    return QStringLiteral("\\U%1").arg(uint(c), 8, 16, QLatin1Char('0'));
}

QString VisibleName(const QString& name) {
    QString shown;
    ForEachCodePoint(name, [&shown](char32_t c, bool hidden) {
        shown += hidden ? EscapedCodePoint(c) : QString::fromUcs4(&c, 1);
    });
    return shown;
}

QString UnusableStoredNameMessage(const QString& storedName) {
    return QString::fromUtf8(kUnusableStoredName).arg(VisibleName(storedName));
}

}  // namespace quillory
