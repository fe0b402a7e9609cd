// How the core shows a message box and reads the answer. The program answers
// with real message boxes, qv7 on the terminal, tests from a script.
#ifndef QUILLORY_PROMPT_PORT_H
#define QUILLORY_PROMPT_PORT_H

#include <QString>

namespace quillory {

enum class MessageIcon { None, Information, Exclamation, Stop };
enum class MessageButtons { Ok, YesNo };
enum class MessageAnswer { Ok, Yes, No };

class PromptPort {
public:
    virtual ~PromptPort() = default;
    virtual MessageAnswer ShowMessage(const QString& text, MessageIcon icon, MessageButtons buttons) = 0;
};

}  // namespace quillory

#endif
