#include "CPasswordDialog.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "DialogUnits.h"
#include "FirmwareTexts.h"
#include "PromptPort.h"

namespace quillory {

namespace {

const char kOk[] = "OK";
const char kCancel[] = "Cancel";

}  // namespace

CPasswordDialog::CPasswordDialog(PromptPort& prompt, QWidget* parent) : QDialog(parent), prompt_(prompt) {
    setWindowTitle(QLatin1String(firmwaretext::kPasswordCaption));
    setFixedSize(DialogSize(this, 187, 91));

    auto* label = new QLabel(QLatin1String(firmwaretext::kPasswordLabel), this);
    label->setGeometry(DialogRect(this, 37, 24, 42, 8));
    edit_ = new QLineEdit(this);
    edit_->setEchoMode(QLineEdit::Password);
    edit_->setGeometry(DialogRect(this, 88, 21, 66, 14));
    label->setBuddy(edit_);

    ok_ = new QPushButton(QLatin1String(kOk), this);
    ok_->setGeometry(DialogRect(this, 40, 58, 50, 14));
    ok_->setDefault(true);
    auto* cancel = new QPushButton(QLatin1String(kCancel), this);
    cancel->setGeometry(DialogRect(this, 106, 58, 50, 14));
    connect(ok_, &QPushButton::clicked, this, &CPasswordDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &CPasswordDialog::reject);
    edit_->setFocus();
}

void CPasswordDialog::accept() {
    if (!IsAccessCode(edit_->text())) {
        prompt_.ShowMessage(QLatin1String(firmwaretext::kInvalidPassword), MessageIcon::None, MessageButtons::Ok);
        return;
    }
    QDialog::accept();
}

}  // namespace quillory
