#include "FileSetForms.h"

#include <QFileInfo>

#include "DestinationFolder.h"
#include "PromptPort.h"
#include "StringTable.h"

namespace quillory {

bool SendFileSetForm::Accept(const QString& text) {
    const QFileInfo file(text);
    if (text.isEmpty() || !file.exists() || file.isDir()) {
        prompt_.ShowMessage(LoadString(IDS_SELECT_VALID_FILE_SET), MessageIcon::Exclamation, MessageButtons::Ok);
        return false;
    }
    path_ = text;
    return true;
}

bool GetAllFilesForm::Accept(const QString& fieldText, bool confirmed) {
    if (!confirmed && prompt_.ShowMessage(LoadString(IDS_OVERWRITE_FOLDER), MessageIcon::None, MessageButtons::YesNo) !=
        MessageAnswer::Yes) {
        return false;
    }
    const QString folder = FolderFromFieldText(fieldText);
    if (!CheckDestinationFolder(folder, prompt_)) return false;
    folder_ = folder;
    return true;
}

}  // namespace quillory
