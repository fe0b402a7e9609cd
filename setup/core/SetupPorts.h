// How the launcher's logic shows messages, closes its window and runs timer 3.
// The dialog implements them with Qt; tests answer them from a script.
#ifndef QUILLORY_SETUP_PORTS_H
#define QUILLORY_SETUP_PORTS_H

#include <string>

namespace quillory::setup {

// Every message box of the launcher has only an OK button.
class MessagePort {
public:
    virtual ~MessagePort() = default;
    virtual void ShowMessage(const std::string& text) = 0;
};

class SetupTimer {
public:
    virtual ~SetupTimer() = default;
    virtual void Start(int periodMs) = 0;
    virtual void Stop() = 0;
};

}  // namespace quillory::setup

#endif
