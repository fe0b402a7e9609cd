#include "SlotDialogLayout.h"

#include <QDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>

#include "DialogUnits.h"
#include "StringTable.h"

namespace quillory {

namespace {

const char kOk[] = "OK";
const char kCancel[] = "Cancel";
constexpr int kDialogWidth = 252;
constexpr int kButtonWidth = 50;
constexpr int kBrowseButtonWidth = 36;

}  // namespace

QGroupBox* SlotDialogGroup(const QString& title, QWidget* first, QWidget* second) {
    auto* group = new QGroupBox(title);
    auto* row = new QHBoxLayout(group);
    row->addWidget(first, 1);
    if (second) row->addWidget(second);
    return group;
}

QPushButton* PathBrowseButton(QDialog* dialog, const QLineEdit& field) {
    auto* button = new QPushButton(LoadString(IDS_BROWSE));
    button->setAutoDefault(false);
    button->setMinimumWidth(DialogUnitsAcross(dialog, kBrowseButtonWidth));
    button->setFixedHeight(field.sizeHint().height());
    return button;
}

QBoxLayout* SlotDialogButtons(QDialog* dialog, QPushButton** ok, QPushButton** cancel) {
    *ok = new QPushButton(QLatin1String(kOk), dialog);
    *cancel = new QPushButton(QLatin1String(kCancel), dialog);
    (*ok)->setDefault(true);
    for (QPushButton* button : {*ok, *cancel}) {
        button->setMinimumWidth(DialogUnitsAcross(dialog, kButtonWidth));
    }
    QObject::connect(*ok, &QPushButton::clicked, dialog, &QDialog::accept);
    QObject::connect(*cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(*ok);
    row->addWidget(*cancel);
    return row;
}

void FixSlotDialogSize(QDialog* dialog) {
    dialog->setMinimumWidth(DialogUnitsAcross(dialog, kDialogWidth));
    dialog->setMaximumHeight(dialog->sizeHint().height());
    dialog->resize(dialog->minimumWidth(), dialog->sizeHint().height());
}

}  // namespace quillory
