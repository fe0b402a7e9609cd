// Where the program is installed, for the files shipped beside it (the file
// set schema). The installer leaves the folder in the machine-wide settings;
// when it could not ("Not Set"), the local disks are searched once for the
// program file and the folder found is written back.
#ifndef QUILLORY_INSTALL_FOLDER_LOOKUP_H
#define QUILLORY_INSTALL_FOLDER_LOOKUP_H

#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>

#include "InstallSearch.h"
#include "PlatformPaths.h"

namespace quillory {

class PromptPort;

// Shown when the machine-wide settings cannot be opened.
extern const char kUnableToOpenMachineKey[];
// The value the installer writes when it does not know the folder.
extern const char kInstallFolderNotSet[];

class InstallFolderLookup {
public:
    // The roots of the drives to search, in search order.
    using DriveList = std::function<QStringList()>;

    // programFile: what the search looks for; another name only where an
    // installation of the program may already be on the disks (a test).
    explicit InstallFolderLookup(PromptPort& prompt, DriveList drives = LocalDiskDrives,
                                 QString programFile = PlatformPaths::ProgramFileName());

    // Leaves the folder in installDirectory(); keeps the previous one when the
    // settings cannot be opened or the search finds nothing. Only a folder
    // the search found is written back.
    void FindInstallDirectory();
    void SearchFixedDrives();
    // Depth-first, stopping at the first folder holding the program file
    // with the file set schema in its installation (FindInstalledProgram).
    void SearchFolder(const QString& folder);

    const QString& installDirectory() const { return installDirectory_; }

private:
    PromptPort& prompt_;
    DriveList drives_;
    QString programFile_;
    QString installDirectory_;
    int32_t installFound_ = 0;
};

}  // namespace quillory

#endif
