#include "InstallSearch.h"

#include <QFile>

#include "MountTable.h"
#include "PlatformPaths.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

namespace quillory {

namespace {

// The program is what the installation put there: a regular file that may be
// run, with the shared file in the installation's shared data folder. A
// folder named like it is not it: the program itself makes
// ~/.local/share/Quillory and ~/.cache/Quillory.
bool IsInstalledProgram(int folderFd, const char* name, const std::string& sharedFile) {
    struct stat info;
    if (fstatat(folderFd, name, &info, AT_SYMLINK_NOFOLLOW) != 0) return false;
    if (!S_ISREG(info.st_mode) || (info.st_mode & (S_IXUSR | S_IXGRP | S_IXOTH)) == 0) return false;
    return fstatat(folderFd, sharedFile.c_str(), &info, 0) == 0 && S_ISREG(info.st_mode);
}

// One level of the search over an open folder: true when the program is an
// entry of it; otherwise the subfolders on the same device, in listing order.
bool ScanFolder(int folderFd, const std::string& program, const std::string& sharedFile,
                std::vector<std::string>* subfolders) {
    DIR* listing = fdopendir(folderFd);
    if (!listing) {
        close(folderFd);
        return false;
    }
    bool found = false;
    while (const dirent* entry = readdir(listing)) {
        const char* name = entry->d_name;
        if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'))) continue;
        if (program == name && IsInstalledProgram(folderFd, name, sharedFile)) {
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

}  // namespace

QStringList LocalDiskDrives() {
    const std::optional<std::vector<MountEntry>> mounts = ReadMountTable();
    if (!mounts) return {QStringLiteral("/")};
    return DiskMountPoints(*mounts);
}

std::optional<QString> FindInstalledProgram(const QString& drive, const QString& programFile,
                                            const QString& sharedFile) {
    const QByteArray root = QFile::encodeName(drive);
    const int rootFd = open(root.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (rootFd < 0) return std::nullopt;
    struct stat rootInfo;
    if (fstat(rootFd, &rootInfo) != 0) {
        close(rootFd);
        return std::nullopt;
    }
    const dev_t device = rootInfo.st_dev;
    const std::string program = QFile::encodeName(programFile).toStdString();
    // Relative to the folder being looked at, which the walk holds open.
    const std::string shared =
        QFile::encodeName(PlatformPaths::Join(PlatformPaths::SharedDataFolderOf(QStringLiteral(".")), sharedFile))
            .toStdString();

    // Depth-first without recursion, so a deep tree cannot exhaust the stack:
    // each level keeps the subfolders still to visit, in listing order.
    struct Level {
        std::string path;
        std::vector<std::string> subfolders;
        size_t next = 0;
    };
    std::vector<Level> stack;
    stack.push_back({root.toStdString(), {}, 0});
    if (ScanFolder(rootFd, program, shared, &stack.back().subfolders)) return drive;
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
        if (ScanFolder(fd, program, shared, &child.subfolders)) {
            return QFile::decodeName(QByteArray::fromStdString(child.path));
        }
        stack.push_back(std::move(child));
    }
    return std::nullopt;
}

}  // namespace quillory
