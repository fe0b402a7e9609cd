// Makes the program's progress windows, and tells the main frame when a
// transfer window opens and closes so that it can disable and re-enable the
// commands a transfer guards.
#ifndef QUILLORY_PLEASE_WAIT_DLG_FACTORY_H
#define QUILLORY_PLEASE_WAIT_DLG_FACTORY_H

#include <QObject>

#include "ProgressWindow.h"

namespace quillory {

class PleaseWaitDlgFactory : public QObject, public ProgressWindowFactory {
    Q_OBJECT
public:
    std::unique_ptr<ProgressWindow> Create(const QString& windowText, const QString& transferText,
                                           QWidget* parent) override;

signals:
    // Emitted before the window first shows: the transfer's busy flag is set.
    void windowOpened();
    // Emitted as the window goes: the busy flag clears just after.
    void windowClosed();
};

}  // namespace quillory

#endif
