#include "FirmwareDialogChoice.h"

#include "CPasswordDialog.h"
#include "CSelectModelDialog.h"

namespace quillory {

KeypadModel FirmwareDialogChoice::SelectModel() {
    CSelectModelDialog dialog(prompt_);
    return dialog.exec() == QDialog::Accepted ? dialog.selectedModel() : kNoModel;
}

bool FirmwareDialogChoice::EnterAccessCode() {
    CPasswordDialog dialog(prompt_);
    return dialog.exec() == QDialog::Accepted;
}

}  // namespace quillory
