#include "MessageBoxes.h"

#include <QMessageBox>

#include "SetupTexts.h"

namespace quillory::setup {

void MessageBoxes::ShowMessage(const std::string& text) {
    QMessageBox box(QMessageBox::NoIcon, texts::kCaption, QString::fromStdString(text), QMessageBox::Ok, owner_);
    box.exec();
}

}  // namespace quillory::setup
