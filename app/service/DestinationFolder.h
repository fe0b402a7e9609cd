// A destination folder typed or picked in a folder field: how the field's
// text becomes the folder, and the check before anything is saved there.
#ifndef QUILLORY_DESTINATION_FOLDER_H
#define QUILLORY_DESTINATION_FOLDER_H

#include <QString>

namespace quillory {

class PromptPort;

// The field's text with one trailing separator removed, as folder fields
// exchange it. The file system's root keeps its only separator: without it
// the text would name no folder at all.
QString FolderFromFieldText(const QString& text);

// True when folder names an existing folder; otherwise says so in a plain box.
bool CheckDestinationFolder(const QString& folder, PromptPort& prompt);

}  // namespace quillory

#endif
