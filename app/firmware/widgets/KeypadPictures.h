// The pictures on the model dialog's buttons: the front of each printer
// model, drawn here so the two keypads can be told apart at a glance — the
// QV7E with its numeric keypad, the QV7EQ with a full letter keyboard.
#ifndef QUILLORY_KEYPAD_PICTURES_H
#define QUILLORY_KEYPAD_PICTURES_H

#include <QPixmap>

#include "FirmwareChoicePort.h"

namespace quillory {

QPixmap KeypadPicture(KeypadModel model, const QSize& size);

}  // namespace quillory

#endif
