#include "InstallFolderLookup.h"

#include "FileSetDocument.h"
#include "MachineSettings.h"
#include "PromptPort.h"

namespace quillory {

const char kUnableToOpenMachineKey[] = "Unable to open Registor key";
const char kInstallFolderNotSet[] = "Not Set";

InstallFolderLookup::InstallFolderLookup(PromptPort& prompt, DriveList drives, QString programFile)
    : prompt_(prompt), drives_(std::move(drives)), programFile_(std::move(programFile)) {}

void InstallFolderLookup::FindInstallDirectory() {
    bool opened = false;
    const std::optional<QString> value = MachineSettings::Read(machine::kInstallFolder, &opened);
    if (!opened) {
        prompt_.ShowMessage(QLatin1String(kUnableToOpenMachineKey), MessageIcon::None, MessageButtons::Ok);
        return;
    }
    // A missing value is taken as the installer's marker: searching finds the
    // folder, where an empty folder would find no schema at all.
    const QString folder = value.value_or(QLatin1String(kInstallFolderNotSet)).trimmed();
    if (folder != QLatin1String(kInstallFolderNotSet)) {
        installDirectory_ = folder;
        return;
    }
    SearchFixedDrives();
    // A search that found nothing leaves the marker, so the next lookup
    // searches again; writing back an empty folder would make every later
    // definition invalid for good. Without rights to the machine-wide file
    // the write fails quietly, with the same outcome.
    if (installFound_) MachineSettings::Write(machine::kInstallFolder, installDirectory_);
}

void InstallFolderLookup::SearchFixedDrives() {
    installFound_ = 0;
    for (const QString& drive : drives_()) {
        SearchFolder(drive);
        if (installFound_) break;
    }
}

void InstallFolderLookup::SearchFolder(const QString& folder) {
    if (installFound_) return;
    if (const std::optional<QString> found =
            FindInstalledProgram(folder, programFile_, QLatin1String(kFileSetSchemaName))) {
        installFound_ = 1;
        installDirectory_ = *found;
    }
}

}  // namespace quillory
