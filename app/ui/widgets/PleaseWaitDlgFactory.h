// Makes the program's progress windows, and tells the main frame when a
// transfer window opens so that it can disable the commands a transfer
// guards (the service says when the transfer is over).
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
};

}  // namespace quillory

#endif
