// "Select QV7 Model being upgraded...": a picture of each keypad model as a
// button. A click asks the user to confirm the model; Yes closes the dialog
// with that model, No leaves it open for another look. The close box cancels.
#ifndef QUILLORY_CSELECT_MODEL_DIALOG_H
#define QUILLORY_CSELECT_MODEL_DIALOG_H

#include <QDialog>

#include "FirmwareChoicePort.h"

class QPushButton;

namespace quillory {

class PromptPort;

class CSelectModelDialog : public QDialog {
    Q_OBJECT
public:
    explicit CSelectModelDialog(PromptPort& prompt, QWidget* parent = nullptr);

    KeypadModel selectedModel() const { return selectedModel_; }
    QPushButton* qv7eButton() const { return qv7eButton_; }
    QPushButton* qv7eqButton() const { return qv7eqButton_; }

private:
    QPushButton* PictureButton(const char* name, KeypadModel model, const QRect& place);
    void OnModelClicked(KeypadModel model, const char* question);

    PromptPort& prompt_;
    KeypadModel selectedModel_ = kNoModel;
    QPushButton* qv7eButton_;
    QPushButton* qv7eqButton_;
};

}  // namespace quillory

#endif
