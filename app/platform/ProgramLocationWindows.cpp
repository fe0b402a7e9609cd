#include "ProgramLocation.h"

#include <QDir>

#include <windows.h>

#include <vector>

namespace quillory {

QString RunningProgramFile() {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) return QString();
        if (length < buffer.size()) {
            return QDir::toNativeSeparators(QString::fromWCharArray(buffer.data(), static_cast<qsizetype>(length)));
        }
        buffer.resize(buffer.size() * 2);
    }
}

}  // namespace quillory
