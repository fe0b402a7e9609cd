#include "InstallSearch.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QStorageInfo>

namespace quillory {

QStringList LocalDiskDrives() {
    QStringList drives;
    for (char letter = 'C'; letter <= 'Z'; ++letter) {
        const QString root = QStringLiteral("%1:/").arg(QLatin1Char(letter));
        const QStorageInfo storage(root);
        if (storage.isValid() && storage.isReady() && !storage.fileSystemType().isEmpty()) {
            drives << QStringLiteral("%1:").arg(QLatin1Char(letter));
        }
    }
    return drives;
}

std::optional<QString> FindInstalledProgram(const QString& folder, const QString& programFile, const QString&) {
    if (QFileInfo::exists(folder + QLatin1Char('\\') + programFile)) return folder;
    QDirIterator entries(folder + QLatin1Char('\\'), QDir::Dirs | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot |
                                                           QDir::NoSymLinks);
    while (entries.hasNext()) {
        const QString subfolder = QDir::toNativeSeparators(entries.next());
        if (std::optional<QString> found = FindInstalledProgram(subfolder, programFile, {})) return found;
    }
    return std::nullopt;
}

}  // namespace quillory
