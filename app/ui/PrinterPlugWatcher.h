// The printer plugged in or out, told in the program's event loop: the
// library's watch, its descriptors waited on by socket notifiers, so libusb
// is asked for its news only from this thread and only when it has some.
#ifndef QUILLORY_PRINTER_PLUG_WATCHER_H
#define QUILLORY_PRINTER_PLUG_WATCHER_H

#include <QObject>

#include "QV7_Sys_API.h"

namespace quillory {

class PrinterPlugWatcher : public QObject {
    Q_OBJECT
public:
    // Watches the printer of the device setting in force now, where the
    // system tells of plugging; otherwise it stays silent.
    explicit PrinterPlugWatcher(QObject* parent = nullptr);

    bool isWatching() const { return watch_.IsWatching(); }

signals:
    // The printer came or went.
    void printerPlugged();

private:
    void TakeNews();

    CQV7_PrinterWatch watch_;
};

}  // namespace quillory

#endif
