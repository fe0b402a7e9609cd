#include "CGetFileDialog.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "CFolderEdit.h"
#include "SlotChoiceList.h"
#include "SlotDialogForms.h"
#include "SlotDialogLayout.h"
#include "StringTable.h"

namespace quillory {

namespace {

const char kTitle[] = "Get file from printer...";
const char kSourceGroup[] = "Source File on QV7 Printer";
const char kDestinationGroup[] = "Destination Folder on PC";
constexpr int kPickerOptions = 0;

}  // namespace

CGetFileDialog::CGetFileDialog(GetFileForm& form, const CQV7View& tree, QWidget* parent)
    : QDialog(parent), form_(form), sourceList_(new QComboBox), folderEdit_(new CFolderEdit) {
    setWindowTitle(QLatin1String(kTitle));

    folderEdit_->SetTitle(kPickerOptions, LoadString(IDS_SPECIFY_DESTINATION));
    folderEdit_->SetFolder(form_.folder());
    FillSlotList(*sourceList_, tree, form_.kind());

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(SlotDialogGroup(QLatin1String(kSourceGroup), sourceList_));
    layout->addWidget(SlotDialogGroup(QLatin1String(kDestinationGroup), folderEdit_));
    QPushButton* ok = nullptr;
    QPushButton* cancel = nullptr;
    layout->addLayout(SlotDialogButtons(this, &ok, &cancel));
    FixSlotDialogSize(this);

    setTabOrder(sourceList_, folderEdit_->field());
    setTabOrder(folderEdit_->field(), folderEdit_->browseButton());
    setTabOrder(folderEdit_->browseButton(), ok);
    setTabOrder(ok, cancel);
}

void CGetFileDialog::accept() {
    switch (form_.Accept(folderEdit_->field()->text(), SelectedSlot(*sourceList_))) {
    case GetFileForm::Outcome::Close: QDialog::accept(); break;
    case GetFileForm::Outcome::FolderRefused: folderEdit_->setFocus(); break;
    case GetFileForm::Outcome::StayOpen: break;
    }
}

}  // namespace quillory
