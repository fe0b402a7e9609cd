#include "CFolderEdit.h"

#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLineEdit>

#include "DestinationFolder.h"
#include "StringTable.h"

namespace quillory {

namespace {

// The button is as wide as its text with four blanks of margin.
const char kButtonMargin[] = "    ";
// The gap between the narrowed field and its button.
constexpr int kButtonGap = 1;

QString PlatformFolderPicker(QWidget* owner, const QString& title, const QString& start) {
    return QDir::toNativeSeparators(QFileDialog::getExistingDirectory(owner, title, start));
}

}  // namespace

CBrowseButton::CBrowseButton(CFolderEdit& owner) : QPushButton(LoadString(IDS_BROWSE), &owner) {
    setToolTip(LoadString(IDS_MODIFY));
    setAutoDefault(false);
    const int textWidth = fontMetrics().horizontalAdvance(QLatin1String(kButtonMargin) + text());
    setFixedWidth(qMax(textWidth, minimumSizeHint().width()));
}

CFolderEdit::CFolderEdit(QWidget* parent)
    : QWidget(parent), field_(new QLineEdit(this)), button_(new CBrowseButton(*this)), picker_(PlatformFolderPicker) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(kButtonGap);
    layout->addWidget(field_, 1);
    layout->addWidget(button_);
    button_->setFixedHeight(field_->sizeHint().height());
    setFocusProxy(field_);
    setTabOrder(field_, button_);
    field_->installEventFilter(this);
    connect(button_, &QPushButton::clicked, this, &CFolderEdit::Browse);
}

void CFolderEdit::SetTitle(int options, const QString& pickerTitle) {
    options_ = options;
    pickerTitle_ = pickerTitle;
}

void CFolderEdit::SetFolder(const QString& folder) {
    field_->setText(FolderFromFieldText(folder));
}

void CFolderEdit::Browse() {
    const QString chosen = picker_(this, pickerTitle_, field_->text());
    if (!chosen.isEmpty()) field_->setText(chosen);
}

bool CFolderEdit::eventFilter(QObject* watched, QEvent* event) {
    if (watched == field_ && event->type() == QEvent::EnabledChange) button_->setEnabled(field_->isEnabled());
    return QWidget::eventFilter(watched, event);
}

}  // namespace quillory
