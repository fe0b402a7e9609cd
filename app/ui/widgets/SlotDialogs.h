// The slot dialog port answered by the program's send and get dialogs, their
// slot lists filled from the tree of printer files.
#ifndef QUILLORY_SLOT_DIALOGS_H
#define QUILLORY_SLOT_DIALOGS_H

#include "SlotDialogPort.h"

namespace quillory {

class CQV7View;
class FileChoicePort;
class PromptPort;

class SlotDialogs : public SlotDialogPort {
public:
    SlotDialogs(const CQV7View& tree, PromptPort& prompt, FileChoicePort& files);

    bool RunGetDialog(GetFileForm& form, QWidget* parent) override;
    bool RunSendDialog(SendFileForm& form, QWidget* parent) override;

private:
    const CQV7View& tree_;
    PromptPort& prompt_;
    FileChoicePort& files_;
};

}  // namespace quillory

#endif
