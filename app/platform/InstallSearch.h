// Searching this machine's disks for an installed program: the disks there
// are, and a walk through one of them. It is how the program finds its own
// installation where the installer could not record the folder.
#ifndef QUILLORY_INSTALL_SEARCH_H
#define QUILLORY_INSTALL_SEARCH_H

#include <QString>
#include <QStringList>

#include <optional>

namespace quillory {

// Linux: the mount points of local disk file systems, as this process's
// mount table lists them ("/" alone when it cannot be read); Windows: the
// fixed drives C: to Z:.
QStringList LocalDiskDrives();

// Depth-first through the drive, stopping at the first folder that holds the
// installed program: on Linux a regular, executable file named programFile
// with sharedFile in its installation's shared data folder
// (PlatformPaths::SharedDataFolderOf); on Windows any entry of that name.
// Symbolic links are not followed and another mount is not entered: each
// mount is a drive of its own. The folder found, or nothing.
std::optional<QString> FindInstalledProgram(const QString& drive, const QString& programFile,
                                            const QString& sharedFile);

}  // namespace quillory

#endif
