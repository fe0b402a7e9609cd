// The three kinds of file the printer keeps, and what goes with each.
#ifndef QUILLORY_FILE_KIND_H
#define QUILLORY_FILE_KIND_H

#include <QString>

namespace quillory {

enum class FileKind { Data = 0, Label = 1, Symbol = 2 };

struct FileKindInfo {
    FileKind kind;
    const char* typeName;         // the printer's name of the file type
    const char* extension;        // of the file on the PC
    int folderTextId;             // string id of the tree folder
    const char* downloadFolderSetting;
    const char* uploadPathSetting;
    const char* word;             // "data", "label", "symbol": for command lines
};

const FileKindInfo& KindInfo(FileKind kind);

// The kind whose command-line word is `word`; false when there is none.
bool KindFromWord(const QString& word, FileKind* kind);

}  // namespace quillory

#endif
