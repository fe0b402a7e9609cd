// How the send and get commands open their dialogs. The program answers with
// its dialogs over the tree of printer files (which fills the slot lists and
// decides the pre-selected slot), tests from a script.
#ifndef QUILLORY_SLOT_DIALOG_PORT_H
#define QUILLORY_SLOT_DIALOG_PORT_H

#include "SlotDialogForms.h"

class QWidget;

namespace quillory {

class SlotDialogPort {
public:
    virtual ~SlotDialogPort() = default;
    // Runs the dialog modally until OK passes the form's checks (true) or the
    // user cancels (false).
    virtual bool RunGetDialog(GetFileForm& form, QWidget* parent) = 0;
    virtual bool RunSendDialog(SendFileForm& form, QWidget* parent) = 0;
};

}  // namespace quillory

#endif
