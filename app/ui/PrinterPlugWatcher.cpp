#include "PrinterPlugWatcher.h"

#include <QSocketNotifier>

namespace quillory {

PrinterPlugWatcher::PrinterPlugWatcher(QObject* parent) : QObject(parent) {
    for (const int fd : watch_.WaitHandles()) {
        auto* notifier = new QSocketNotifier(fd, QSocketNotifier::Read, this);
        connect(notifier, &QSocketNotifier::activated, this, &PrinterPlugWatcher::TakeNews);
    }
}

void PrinterPlugWatcher::TakeNews() {
    if (watch_.TakeChanges()) emit printerPlugged();
}

}  // namespace quillory
