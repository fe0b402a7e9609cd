// The launcher's messages as real message boxes: OK only, no icon.
#ifndef QUILLORY_SETUP_MESSAGE_BOXES_H
#define QUILLORY_SETUP_MESSAGE_BOXES_H

#include <QPointer>
#include <QWidget>

#include "SetupPorts.h"

namespace quillory::setup {

class MessageBoxes : public MessagePort {
public:
    void SetOwner(QWidget* owner) { owner_ = owner; }
    void ShowMessage(const std::string& text) override;

private:
    QPointer<QWidget> owner_;
};

}  // namespace quillory::setup

#endif
