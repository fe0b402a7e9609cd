#include "AboutBox.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "AppIcons.h"

namespace quillory {

namespace {

const char kTitle[] = "About Quillory";
const char kVersion[] = "Quillory Version 2.1.3";
const char kMakerNotice[] = "Copyright (C) Orvale";
const char kFirmware[] = "Firmware  OS309, OS215 Boot132";
constexpr int kIconSize = 32;

}  // namespace

AboutBox::AboutBox(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QLatin1String(kTitle));

    auto* icon = new QLabel(this);
    icon->setPixmap(ApplicationIcon().pixmap(kIconSize, kIconSize));
    icon->setAlignment(Qt::AlignTop);

    auto* lines = new QVBoxLayout;
    lines->setSpacing(6);
    for (const char* text : {kVersion, kMakerNotice, kFirmware}) {
        lines->addWidget(new QLabel(QLatin1String(text), this));
    }
    lines->addStretch();

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(16, 16, 16, 16);
    layout->setHorizontalSpacing(20);
    layout->addWidget(icon, 0, 0);
    layout->addLayout(lines, 0, 1);
    layout->addWidget(buttons, 0, 2, Qt::AlignTop);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace quillory
