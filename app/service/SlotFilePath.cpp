#include "SlotFilePath.h"

#include "PlatformPaths.h"

namespace quillory {

const char kUnusableStoredName[] =
    "The printer's file name \"%1\" cannot be used as a file name on this PC.\nNothing was saved.";

bool IsPlainFileName(const QString& name) {
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String("..")) return false;
    for (const QChar c : name) {
        if (c == QLatin1Char('/') || c == QLatin1Char('\\')) return false;
        if (c.unicode() < 0x20 || c.unicode() == 0x7F) return false;
    }
    return true;
}

bool BuildSlotFilePath(const QString& folder, const QString& storedName, FileKind kind, QString* path) {
    if (!IsPlainFileName(storedName)) return false;
    QString base = folder;
    if (base.size() > 1 && base.endsWith(PlatformPaths::Separator())) base.chop(1);
    *path = PlatformPaths::Join(base, storedName + QLatin1String(KindInfo(kind).extension));
    return true;
}

QString UnusableStoredNameMessage(const QString& storedName) {
    QString shown;
    for (const QChar c : storedName) {
        // Control characters would garble the message; show them as code points.
        shown += c.unicode() < 0x20 || c.unicode() == 0x7F
                     ? QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'))
                     : QString(c);
    }
    return QString::fromUtf8(kUnusableStoredName).arg(shown);
}

}  // namespace quillory
