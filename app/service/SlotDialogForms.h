// What the two slot dialogs hold and decide, without their windows: the get
// dialog's folder and source slot, the send dialog's source file and slot, and
// the checks OK runs before either may close. The windows (or a test's
// script) fill a form in and press OK as often as the user does.
#ifndef QUILLORY_SLOT_DIALOG_FORMS_H
#define QUILLORY_SLOT_DIALOG_FORMS_H

#include <QString>
#include <cstdint>

#include "FileKind.h"

namespace quillory {

class CPrinterService;
class PromptPort;

// Whether the file last looked at while browsing may be sent. Only symbol
// browsing ever says no: a bitmap that is not a symbol's size.
class PreviewAcceptance {
public:
    virtual ~PreviewAcceptance() = default;
    virtual bool IsAcceptable() const = 0;
};

// Slot 0 in the forms means no list item is selected.
inline constexpr uint8_t kNoSlot = 0;

class GetFileForm {
public:
    enum class Outcome { Close, StayOpen, FolderRefused };

    GetFileForm(CPrinterService& service, PromptPort& prompt, FileKind kind, const QString& folder);

    FileKind kind() const { return kind_; }
    // The destination folder as the folder field exchanges it.
    const QString& folder() const { return folder_; }

    // OK with the folder field's text and the selected source slot. The
    // dialog closes on Close; on FolderRefused the focus goes back to the
    // folder field.
    Outcome Accept(const QString& folderText, uint8_t sourceSlot);

    // Set once Accept said Close.
    uint8_t chosenSlot() const { return chosenSlot_; }
    const QString& destinationPath() const { return destinationPath_; }

private:
    CPrinterService& service_;
    PromptPort& prompt_;
    FileKind kind_;
    QString folder_;
    uint8_t chosenSlot_ = kNoSlot;
    QString destinationPath_;
};

class SendFileForm {
public:
    SendFileForm(PromptPort& prompt, FileKind kind, const QString& sourcePath);

    FileKind kind() const { return kind_; }
    const QString& sourcePath() const { return sourcePath_; }

    // OK with the source field's text, the selected slot and what symbol
    // browsing thinks of the file (null: nothing to object). True when the
    // dialog may close.
    bool Accept(const QString& sourceText, uint8_t slot, const PreviewAcceptance* acceptance);

    uint8_t chosenSlot() const { return chosenSlot_; }

private:
    PromptPort& prompt_;
    FileKind kind_;
    QString sourcePath_;
    uint8_t chosenSlot_ = kNoSlot;
};

}  // namespace quillory

#endif
