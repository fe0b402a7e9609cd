// The program's message boxes: the prompt port answered by QMessageBox, with
// the icon and buttons the caller asks for and the program's name as title.
#ifndef QUILLORY_MESSAGE_BOX_PROMPT_H
#define QUILLORY_MESSAGE_BOX_PROMPT_H

#include "PromptPort.h"

namespace quillory {

class MessageBoxPrompt : public PromptPort {
public:
    MessageAnswer ShowMessage(const QString& text, MessageIcon icon, MessageButtons buttons) override;
};

}  // namespace quillory

#endif
