// The two questions only the firmware commands ask: which keypad the printer
// being upgraded has, and the access code that guards a restore. The program
// asks them with its own dialogs, qv7 from its command line and the terminal,
// tests from a script.
#ifndef QUILLORY_FIRMWARE_CHOICE_PORT_H
#define QUILLORY_FIRMWARE_CHOICE_PORT_H

#include <cstdint>

namespace quillory {

// The keypad model as the model dialog hands it back.
enum KeypadModel : int32_t {
    kNoModel = 0,  // the dialog was closed without a confirmed choice
    kModelQV7EQ = 1,
    kModelQV7E = 2,
};

class FirmwareChoicePort {
public:
    virtual ~FirmwareChoicePort() = default;
    // The confirmed model, or kNoModel when the user backed out.
    virtual KeypadModel SelectModel() = 0;
    // True once the right access code was given; false when the user gave up.
    virtual bool EnterAccessCode() = 0;
};

}  // namespace quillory

#endif
