#include "CSendFileDialog.h"

#include <QComboBox>
#include <QGroupBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "FileChoicePort.h"
#include "SlotChoiceList.h"
#include "SlotDialogForms.h"
#include "SlotDialogLayout.h"
#include "StringTable.h"
#include "SymbolSourceChooser.h"

namespace quillory {

namespace {

const char kTitle[] = "Send file to printer...";
const char kSourceGroup[] = "Source File on PC";
const char kDestinationGroup[] = "Destination File Slot on QV7 Printer";

}  // namespace

CSendFileDialog::CSendFileDialog(SendFileForm& form, const CQV7View& tree, FileChoicePort& files,
                                 std::unique_ptr<SymbolSourceChooser> symbols, QWidget* parent)
    : QDialog(parent),
      form_(form),
      files_(files),
      symbols_(std::move(symbols)),
      sourceEdit_(new QLineEdit(form.sourcePath())),
      browseButton_(PathBrowseButton(this, *sourceEdit_)),
      slotList_(new QComboBox) {
    setWindowTitle(QLatin1String(kTitle));
    connect(browseButton_, &QPushButton::clicked, this, &CSendFileDialog::OnBrowse);
    FillSlotList(*slotList_, tree, form_.kind());

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(SlotDialogGroup(QLatin1String(kSourceGroup), sourceEdit_, browseButton_));
    layout->addWidget(SlotDialogGroup(QLatin1String(kDestinationGroup), slotList_));
    QPushButton* ok = nullptr;
    QPushButton* cancel = nullptr;
    layout->addLayout(SlotDialogButtons(this, &ok, &cancel));
    FixSlotDialogSize(this);

    setTabOrder(sourceEdit_, browseButton_);
    setTabOrder(browseButton_, slotList_);
    setTabOrder(slotList_, ok);
    setTabOrder(ok, cancel);
}

CSendFileDialog::~CSendFileDialog() = default;

void CSendFileDialog::OnBrowse() {
    const QString title = LoadString(IDS_SELECT_SOURCE_FILE);
    const QString start = sourceEdit_->text();
    QString chosen;
    bool picked = false;
    switch (form_.kind()) {
    case FileKind::Data:
        picked = files_.ChooseFileToOpen({title, LoadString(IDS_DATA_FILE_FILTER), QStringLiteral("dat"), start},
                                         &chosen);
        break;
    case FileKind::Label:
        picked = files_.ChooseFileToOpen({title, LoadString(IDS_LABEL_FILE_FILTER), QStringLiteral("qv7"), start},
                                         &chosen);
        break;
    case FileKind::Symbol: picked = symbols_->Browse(this, title, start, &chosen); break;
    }
    if (picked) sourceEdit_->setText(QDir::toNativeSeparators(chosen));
}

void CSendFileDialog::accept() {
    if (form_.Accept(sourceEdit_->text(), SelectedSlot(*slotList_), symbols_.get())) QDialog::accept();
}

}  // namespace quillory
