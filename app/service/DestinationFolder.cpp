#include "DestinationFolder.h"

#include <QFileInfo>

#include "PlatformPaths.h"
#include "PromptPort.h"
#include "StringTable.h"

namespace quillory {

QString FolderFromFieldText(const QString& text) {
    if (text.size() < 2) return text;
    if (!text.endsWith(PlatformPaths::Separator()) && !text.endsWith(QLatin1Char('/'))) return text;
    return text.chopped(1);
}

bool CheckDestinationFolder(const QString& folder, PromptPort& prompt) {
    if (!folder.isEmpty() && QFileInfo(folder).isDir()) return true;
    prompt.ShowMessage(LoadString(IDS_SELECT_VALID_FOLDER), MessageIcon::None, MessageButtons::Ok);
    return false;
}

}  // namespace quillory
