// The model and access-code questions answered from a script, counted.
#ifndef QUILLORY_TESTS_SCRIPTED_FIRMWARE_CHOICES_H
#define QUILLORY_TESTS_SCRIPTED_FIRMWARE_CHOICES_H

#include "FirmwareChoicePort.h"

namespace quillorytest {

class ScriptedFirmwareChoices : public quillory::FirmwareChoicePort {
public:
    quillory::KeypadModel SelectModel() override {
        ++modelQuestions;
        return model;
    }
    bool EnterAccessCode() override {
        ++codeQuestions;
        return codeGiven;
    }
    quillory::KeypadModel model = quillory::kNoModel;
    bool codeGiven = true;
    int modelQuestions = 0;
    int codeQuestions = 0;
};

}  // namespace quillorytest

#endif
