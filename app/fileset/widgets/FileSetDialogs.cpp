#include "FileSetDialogs.h"

#include <QDir>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "CFolderEdit.h"
#include "FileChoicePort.h"
#include "SlotDialogLayout.h"
#include "StringTable.h"

namespace quillory {

namespace {

const char kSendTitle[] = "Send file set to printer...";
const char kSendGroup[] = "File set definition file";
const char kGetTitle[] = "Get file set from printer...";
const char kGetGroup[] = "Destination directory";
constexpr int kPickerOptions = 0;

void AddButtons(QDialog* dialog, QVBoxLayout* layout, QWidget* last) {
    QPushButton* ok = nullptr;
    QPushButton* cancel = nullptr;
    layout->addLayout(SlotDialogButtons(dialog, &ok, &cancel));
    FixSlotDialogSize(dialog);
    QWidget::setTabOrder(last, ok);
    QWidget::setTabOrder(ok, cancel);
}

}  // namespace

CSendFileSetDialog::CSendFileSetDialog(SendFileSetForm& form, FileChoicePort& files, QWidget* parent)
    : QDialog(parent),
      form_(form),
      files_(files),
      pathEdit_(new QLineEdit(form.path())),
      browseButton_(PathBrowseButton(this, *pathEdit_)) {
    setWindowTitle(QLatin1String(kSendTitle));
    connect(browseButton_, &QPushButton::clicked, this, &CSendFileSetDialog::OnBrowse);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(SlotDialogGroup(QLatin1String(kSendGroup), pathEdit_, browseButton_));
    setTabOrder(pathEdit_, browseButton_);
    AddButtons(this, layout, browseButton_);
}

void CSendFileSetDialog::OnBrowse() {
    QString chosen;
    if (files_.ChooseFileToOpen({LoadString(IDS_SELECT_FILE_SET), LoadString(IDS_FILE_SET_FILTER),
                                 QStringLiteral("fsd"), pathEdit_->text()},
                                &chosen)) {
        pathEdit_->setText(QDir::toNativeSeparators(chosen));
    }
}

void CSendFileSetDialog::accept() {
    if (form_.Accept(pathEdit_->text())) QDialog::accept();
}

CGetAllFilesDialog::CGetAllFilesDialog(GetAllFilesForm& form, QWidget* parent)
    : QDialog(parent), form_(form), folderEdit_(new CFolderEdit) {
    setWindowTitle(QLatin1String(kGetTitle));
    folderEdit_->SetTitle(kPickerOptions, LoadString(IDS_SPECIFY_DESTINATION));
    folderEdit_->SetFolder(form_.folder());

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(SlotDialogGroup(QLatin1String(kGetGroup), folderEdit_));
    setTabOrder(folderEdit_->field(), folderEdit_->browseButton());
    AddButtons(this, layout, folderEdit_->browseButton());
}

void CGetAllFilesDialog::accept() {
    // No to the overwrite question, or a folder that is not there: the
    // dialog stays as it was for another try.
    if (form_.Accept(folderEdit_->field()->text())) QDialog::accept();
}

bool FileSetDialogs::RunSendFileSetDialog(SendFileSetForm& form, QWidget* parent) {
    CSendFileSetDialog dialog(form, files_, parent);
    return dialog.exec() == QDialog::Accepted;
}

bool FileSetDialogs::RunGetAllFilesDialog(GetAllFilesForm& form, QWidget*) {
    // Opened without a parent, as the command always has.
    CGetAllFilesDialog dialog(form, nullptr);
    return dialog.exec() == QDialog::Accepted;
}

}  // namespace quillory
