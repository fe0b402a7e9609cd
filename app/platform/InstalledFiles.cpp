#include "InstalledFiles.h"

#include <QFileInfo>

#include "MachineSettings.h"
#include "PlatformPaths.h"

namespace quillory {

std::vector<InstalledFile> InstalledFiles() {
    const QString shared = PlatformPaths::SharedDataFolder();
    std::vector<InstalledFile> files = {
        {"shared data", shared},
        {"file set schema", PlatformPaths::Join(shared, QStringLiteral("quilloryFileSet.xsd"))},
        {"sample symbols", PlatformPaths::Join(shared, QStringLiteral("symbols"))},
        // What the upgrade will use, QUILLORY_FIRMWARE_DIR included.
        {"firmware images", PlatformPaths::FirmwareImageFolder()},
        {"firmware backups", PlatformPaths::FirmwareBackupFolder()},
        {"help topics", PlatformPaths::HelpFile()},
        {"read me", PlatformPaths::ReadMeFile()},
        {"machine settings", MachineSettings::Location()},
    };
    for (InstalledFile& file : files) file.present = QFileInfo::exists(file.path);
    return files;
}

QString InstalledFilesText() {
    QString text;
    for (const InstalledFile& file : InstalledFiles()) {
        text += QStringLiteral("%1: %2%3\n")
                    .arg(QLatin1String(file.role), file.path, file.present ? QString() : QStringLiteral(" (missing)"));
    }
    return text;
}

}  // namespace quillory
