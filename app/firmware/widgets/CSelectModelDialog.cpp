#include "CSelectModelDialog.h"

#include <QLabel>
#include <QPushButton>

#include "DialogUnits.h"
#include "FirmwareTexts.h"
#include "KeypadPictures.h"
#include "PromptPort.h"

namespace quillory {

CSelectModelDialog::CSelectModelDialog(PromptPort& prompt, QWidget* parent) : QDialog(parent), prompt_(prompt) {
    setWindowTitle(QLatin1String(firmwaretext::kSelectModelCaption));
    setFixedSize(DialogSize(this, 334, 283));

    auto* qv7eLabel = new QLabel(QLatin1String(firmwaretext::kQV7ELabel), this);
    qv7eLabel->setGeometry(DialogRect(this, 53, 14, 52, 12));
    auto* qv7eqLabel = new QLabel(QLatin1String(firmwaretext::kQV7EQLabel), this);
    qv7eqLabel->setGeometry(DialogRect(this, 207, 14, 58, 14));

    qv7eButton_ = PictureButton(firmwaretext::kQV7EButton, kModelQV7E, DialogRect(this, 16, 32, 141, 234));
    qv7eqButton_ = PictureButton(firmwaretext::kQV7EQButton, kModelQV7EQ, DialogRect(this, 165, 32, 151, 233));
    connect(qv7eButton_, &QPushButton::clicked, this,
            [this] { OnModelClicked(kModelQV7E, firmwaretext::kConfirmQV7E); });
    connect(qv7eqButton_, &QPushButton::clicked, this,
            [this] { OnModelClicked(kModelQV7EQ, firmwaretext::kConfirmQV7EQ); });
}

QPushButton* CSelectModelDialog::PictureButton(const char* name, KeypadModel model, const QRect& place) {
    // A picture button: its name is what screen readers and tests know it by.
    auto* button = new QPushButton(this);
    button->setObjectName(QLatin1String(name));
    button->setAccessibleName(QLatin1String(name));
    button->setAutoDefault(false);
    button->setGeometry(place);
    const QSize picture = place.size() - QSize(12, 12);
    button->setIcon(KeypadPicture(model, picture));
    button->setIconSize(picture);
    return button;
}

void CSelectModelDialog::OnModelClicked(KeypadModel model, const char* question) {
    // Sending the wrong keypad's firmware leaves a printer whose keys do not
    // match their meaning, so each choice is confirmed.
    if (prompt_.ShowMessage(QLatin1String(question), MessageIcon::None, MessageButtons::YesNo) != MessageAnswer::Yes) {
        return;
    }
    selectedModel_ = model;
    accept();
}

}  // namespace quillory
