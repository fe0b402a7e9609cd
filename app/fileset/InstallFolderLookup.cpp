#include "InstallFolderLookup.h"

#include "FileSetDocument.h"
#include "MachineSettings.h"
#include "PromptPort.h"

#ifdef Q_OS_WIN
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QStorageInfo>
#else
#include <QFile>
#include <QSet>

#include "MountTable.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>
#endif

namespace quillory {

const char kUnableToOpenMachineKey[] = "Unable to open Registor key";
const char kInstallFolderNotSet[] = "Not Set";

namespace {

#ifdef Q_OS_WIN
const char kProgramFile[] = "Quillory.exe";
#else
const char kProgramFile[] = "Quillory";

// Disk file systems a program can be installed on. Everything else (proc,
// sysfs, tmpfs, overlay, network shares) is either not a disk or not this
// machine's, and walking it could take forever or never end.
const char* const kDiskFileSystems[] = {"ext2", "ext3", "ext4", "xfs", "btrfs", "f2fs", "jfs", "reiserfs",
                                        "vfat", "exfat", "ntfs", "ntfs3", "fuseblk", "zfs"};

// The program is what the installation put there: a regular file that may be
// run, with the schema it reads in the installation's shared data folder. A
// folder named like it is not it: the program itself makes
// ~/.local/share/Quillory and ~/.cache/Quillory.
bool IsInstalledProgram(int folderFd, const char* name) {
    struct stat info;
    if (fstatat(folderFd, name, &info, AT_SYMLINK_NOFOLLOW) != 0) return false;
    if (!S_ISREG(info.st_mode) || (info.st_mode & (S_IXUSR | S_IXGRP | S_IXOTH)) == 0) return false;
    const std::string schema = std::string("../share/quillory/") + kFileSetSchemaName;
    return fstatat(folderFd, schema.c_str(), &info, 0) == 0 && S_ISREG(info.st_mode);
}

// One level of the search over an open folder: true when the program is an
// entry of it; otherwise the subfolders on the same device, in listing order.
bool ScanFolder(int folderFd, const std::string& program, std::vector<std::string>* subfolders) {
    DIR* listing = fdopendir(folderFd);
    if (!listing) {
        close(folderFd);
        return false;
    }
    bool found = false;
    while (const dirent* entry = readdir(listing)) {
        const char* name = entry->d_name;
        if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'))) continue;
        if (program == name && IsInstalledProgram(folderFd, name)) {
            found = true;
            break;
        }
        unsigned char type = entry->d_type;
        if (type == DT_UNKNOWN) {
            struct stat info;
            if (fstatat(folderFd, name, &info, AT_SYMLINK_NOFOLLOW) != 0) continue;
            type = S_ISDIR(info.st_mode) ? DT_DIR : DT_REG;
        }
        if (type == DT_DIR) subfolders->emplace_back(name);
    }
    closedir(listing);
    return found;
}
#endif

}  // namespace

InstallFolderLookup::InstallFolderLookup(PromptPort& prompt, DriveList drives, QString programFile)
    : prompt_(prompt), drives_(std::move(drives)), programFile_(std::move(programFile)) {}

QString InstallFolderLookup::ProgramFileName() {
    return QLatin1String(kProgramFile);
}

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

#ifdef Q_OS_WIN

QStringList InstallFolderLookup::LocalDiskDrives() {
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

void InstallFolderLookup::SearchFolder(const QString& folder) {
    if (installFound_) return;
    if (QFileInfo::exists(folder + QLatin1Char('\\') + programFile_)) {
        installFound_ = 1;
        installDirectory_ = folder;
        return;
    }
    QDirIterator entries(folder + QLatin1Char('\\'), QDir::Dirs | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot |
                                                           QDir::NoSymLinks);
    while (!installFound_ && entries.hasNext()) SearchFolder(QDir::toNativeSeparators(entries.next()));
}

#else

QStringList InstallFolderLookup::LocalDiskDrives() {
    const std::optional<std::vector<MountEntry>> mounts = ReadMountTable();
    if (!mounts) return {QStringLiteral("/")};
    QStringList drives;
    QSet<QString> seen;
    for (const MountEntry& mount : *mounts) {
        bool disk = false;
        for (const char* type : kDiskFileSystems) disk = disk || mount.type == type;
        if (disk && !seen.contains(mount.mountPoint)) {
            seen.insert(mount.mountPoint);
            drives << mount.mountPoint;
        }
    }
    return drives;
}

void InstallFolderLookup::SearchFolder(const QString& folder) {
    if (installFound_) return;
    const QByteArray root = QFile::encodeName(folder);
    const int rootFd = open(root.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (rootFd < 0) return;
    struct stat rootInfo;
    if (fstat(rootFd, &rootInfo) != 0) {
        close(rootFd);
        return;
    }
    const dev_t device = rootInfo.st_dev;

    // Depth-first without recursion, so a deep tree cannot exhaust the stack:
    // each level keeps the subfolders still to visit, in listing order.
    struct Level {
        std::string path;
        std::vector<std::string> subfolders;
        size_t next = 0;
    };
    std::vector<Level> stack;
    const std::string program = QFile::encodeName(programFile_).toStdString();
    stack.push_back({root.toStdString(), {}, 0});
    if (ScanFolder(rootFd, program, &stack.back().subfolders)) {
        installFound_ = 1;
        installDirectory_ = folder;
        return;
    }
    while (!stack.empty()) {
        Level& level = stack.back();
        if (level.next == level.subfolders.size()) {
            stack.pop_back();
            continue;
        }
        std::string path = level.path;
        if (path.empty() || path.back() != '/') path += '/';
        path += level.subfolders[level.next++];
        // O_NOFOLLOW: a folder replaced by a link since it was listed is not entered.
        const int fd = open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0) continue;
        struct stat info;
        if (fstat(fd, &info) != 0 || info.st_dev != device) {
            close(fd);
            continue;
        }
        Level child{std::move(path), {}, 0};
        if (ScanFolder(fd, program, &child.subfolders)) {
            installFound_ = 1;
            installDirectory_ = QFile::decodeName(QByteArray::fromStdString(child.path));
            return;
        }
        stack.push_back(std::move(child));
    }
}

#endif

}  // namespace quillory
