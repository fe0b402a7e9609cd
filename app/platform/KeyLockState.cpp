#include "KeyLockState.h"

#include <QDir>
#include <QFile>

namespace quillory {

namespace {

bool LedIsLit(const QString& ledFolder) {
    QFile brightness(ledFolder + QLatin1String("/brightness"));
    if (!brightness.open(QIODevice::ReadOnly)) return false;
    bool ok = false;
    const int level = brightness.readLine().trimmed().toInt(&ok);
    return ok && level > 0;
}

}  // namespace

KeyLocks ReadKeyLocksFromLeds(const QString& ledsFolder) {
    KeyLocks locks;
    const QDir folder(ledsFolder);
    for (const QString& led : folder.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        bool* lock = nullptr;
        if (led.endsWith(QLatin1String("::capslock"))) {
            lock = &locks.caps;
        } else if (led.endsWith(QLatin1String("::numlock"))) {
            lock = &locks.num;
        } else if (led.endsWith(QLatin1String("::scrolllock"))) {
            lock = &locks.scroll;
        }
        if (lock && !*lock) *lock = LedIsLit(folder.filePath(led));
    }
    return locks;
}

KeyLocks ReadKeyLocks() {
#ifdef Q_OS_LINUX
    return ReadKeyLocksFromLeds(QStringLiteral("/sys/class/leds"));
#else
    return KeyLocks{};
#endif
}

}  // namespace quillory
