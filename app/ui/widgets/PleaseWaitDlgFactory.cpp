#include "PleaseWaitDlgFactory.h"

#include "CPleaseWaitDlg.h"

namespace quillory {

std::unique_ptr<ProgressWindow> PleaseWaitDlgFactory::Create(const QString& windowText, const QString& transferText,
                                                             QWidget* parent) {
    auto window = std::make_unique<CPleaseWaitDlg>(windowText, transferText, parent);
    emit windowOpened();
    return window;
}

}  // namespace quillory
