// Browsing for a symbol to send: the send dialog owns one chooser for its
// whole life, opens its file dialog from "Browse..." and asks it at OK
// whether the file chosen there may be sent.
#ifndef QUILLORY_SYMBOL_SOURCE_CHOOSER_H
#define QUILLORY_SYMBOL_SOURCE_CHOOSER_H

#include <QString>

#include <memory>

#include "SlotDialogForms.h"

class QWidget;

namespace quillory {

class FileChoicePort;
class PromptPort;

class SymbolSourceChooser : public PreviewAcceptance {
public:
    // True with the chosen file in *path; false when the user cancels.
    virtual bool Browse(QWidget* owner, const QString& title, const QString& startPath, QString* path) = 0;
};

// The chooser of the program's send dialogs.
std::unique_ptr<SymbolSourceChooser> MakeSymbolSourceChooser(PromptPort& prompt, FileChoicePort& files);

}  // namespace quillory

#endif
