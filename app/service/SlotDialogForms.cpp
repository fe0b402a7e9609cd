#include "SlotDialogForms.h"

#include <QFileInfo>

#include "CPrinterService.h"
#include "DestinationFolder.h"
#include "PromptPort.h"
#include "SlotFilePath.h"
#include "StringTable.h"

namespace quillory {

GetFileForm::GetFileForm(CPrinterService& service, PromptPort& prompt, FileKind kind, const QString& folder)
    : service_(service), prompt_(prompt), kind_(kind), folder_(FolderFromFieldText(folder)) {}

GetFileForm::Outcome GetFileForm::Accept(const QString& folderText, uint8_t sourceSlot) {
    folder_ = FolderFromFieldText(folderText);
    if (!CheckDestinationFolder(folder_, prompt_)) return Outcome::FolderRefused;

    const CSlotEntry* entry = sourceSlot == kNoSlot ? nullptr : service_.GetSlot(kind_, sourceSlot);
    if (!entry || !entry->valid) {
        prompt_.ShowMessage(LoadString(IDS_SELECT_VALID_SOURCE), MessageIcon::Stop, MessageButtons::Ok);
        return Outcome::StayOpen;
    }

    // The printer names the file; a name that would leave the chosen folder
    // is refused, and the user may pick another source.
    QString path;
    if (!BuildSlotFilePath(folder_, entry->fileName, kind_, &path)) {
        prompt_.ShowMessage(UnusableStoredNameMessage(entry->fileName), MessageIcon::Exclamation,
                            MessageButtons::Ok);
        return Outcome::StayOpen;
    }

    if (QFileInfo::exists(path)) {
        const MessageAnswer answer = prompt_.ShowMessage(path + LoadString(IDS_ALREADY_EXISTS),
                                                         MessageIcon::Exclamation, MessageButtons::YesNo);
        if (answer != MessageAnswer::Yes) return Outcome::StayOpen;
    }
    chosenSlot_ = sourceSlot;
    destinationPath_ = path;
    return Outcome::Close;
}

SendFileForm::SendFileForm(PromptPort& prompt, FileKind kind, const QString& sourcePath)
    : prompt_(prompt), kind_(kind), sourcePath_(sourcePath) {}

bool SendFileForm::Accept(const QString& sourceText, uint8_t slot, const PreviewAcceptance* acceptance) {
    sourcePath_ = sourceText;
    const QFileInfo source(sourcePath_);
    if (!source.exists() || source.isDir() || (acceptance && !acceptance->IsAcceptable())) {
        prompt_.ShowMessage(LoadString(IDS_SELECT_VALID_SOURCE), MessageIcon::Exclamation, MessageButtons::Ok);
        return false;
    }
    if (slot == kNoSlot) {
        prompt_.ShowMessage(LoadString(IDS_SELECT_DESTINATION_SLOT), MessageIcon::Exclamation, MessageButtons::Ok);
        return false;
    }
    chosenSlot_ = slot;
    return true;
}

}  // namespace quillory
