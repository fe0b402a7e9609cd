// The firmware questions answered by the program's dialogs. Both open without
// a parent window, as the program has always shown them.
#ifndef QUILLORY_FIRMWARE_DIALOG_CHOICE_H
#define QUILLORY_FIRMWARE_DIALOG_CHOICE_H

#include "FirmwareChoicePort.h"

namespace quillory {

class PromptPort;

class FirmwareDialogChoice : public FirmwareChoicePort {
public:
    explicit FirmwareDialogChoice(PromptPort& prompt) : prompt_(prompt) {}
    KeypadModel SelectModel() override;
    bool EnterAccessCode() override;

private:
    PromptPort& prompt_;
};

}  // namespace quillory

#endif
