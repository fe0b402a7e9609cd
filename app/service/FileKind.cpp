#include "FileKind.h"

#include "StringTable.h"

namespace quillory {

namespace {

const FileKindInfo kKinds[] = {
    {FileKind::Data, "DAT", ".dat", IDS_DATA_FILES, "DataDownloadFolder", "DataUploadPath", "data"},
    {FileKind::Label, "QV7", ".qv7", IDS_LABEL_FILES, "LabelDownloadFolder", "LabelUploadPath", "label"},
    {FileKind::Symbol, "MAP", ".bmp", IDS_SYMBOL_FILES, "SymbolDownloadFolder", "SymbolUploadPath", "symbol"},
};

}  // namespace

const FileKindInfo& KindInfo(FileKind kind) {
    return kKinds[static_cast<int>(kind)];
}

bool KindFromWord(const QString& word, FileKind* kind) {
    for (const FileKindInfo& info : kKinds) {
        if (word == QLatin1String(info.word)) {
            *kind = info.kind;
            return true;
        }
    }
    return false;
}

}  // namespace quillory
