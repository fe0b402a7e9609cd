#include "SlotDialogs.h"

#include "CGetFileDialog.h"
#include "CSendFileDialog.h"
#include "SymbolSourceChooser.h"

namespace quillory {

SlotDialogs::SlotDialogs(const CQV7View& tree, PromptPort& prompt, FileChoicePort& files)
    : tree_(tree), prompt_(prompt), files_(files) {}

bool SlotDialogs::RunGetDialog(GetFileForm& form, QWidget* parent) {
    CGetFileDialog dialog(form, tree_, parent);
    return dialog.exec() == QDialog::Accepted;
}

bool SlotDialogs::RunSendDialog(SendFileForm& form, QWidget* parent) {
    CSendFileDialog dialog(form, tree_, files_, MakeSymbolSourceChooser(prompt_, files_), parent);
    return dialog.exec() == QDialog::Accepted;
}

}  // namespace quillory
