#include "MessageBoxPrompt.h"

#include <QApplication>
#include <QMessageBox>

#include "StringTable.h"

namespace quillory {

namespace {

QMessageBox::Icon BoxIcon(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Information: return QMessageBox::Information;
    case MessageIcon::Exclamation: return QMessageBox::Warning;
    case MessageIcon::Stop: return QMessageBox::Critical;
    case MessageIcon::None: break;
    }
    return QMessageBox::NoIcon;
}

}  // namespace

MessageAnswer MessageBoxPrompt::ShowMessage(const QString& text, MessageIcon icon, MessageButtons buttons) {
    // Owned by whatever window is in front, so that the box stays above it:
    // during a transfer that is the progress window.
    QMessageBox box(BoxIcon(icon), LoadString(IDS_APP_NAME), text, QMessageBox::NoButton,
                    QApplication::activeWindow());
    if (buttons == MessageButtons::YesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
    } else {
        box.setStandardButtons(QMessageBox::Ok);
    }
    const int answer = box.exec();
    if (buttons == MessageButtons::Ok) return MessageAnswer::Ok;
    return answer == QMessageBox::Yes ? MessageAnswer::Yes : MessageAnswer::No;
}

}  // namespace quillory
