#include "MountTable.h"

#include <QFile>
#include <QList>
#include <QSet>

namespace quillory {

namespace {

const char kOwnMountTable[] = "/proc/self/mounts";

// Disk file systems a program can be installed on. Everything else (proc,
// sysfs, tmpfs, overlay, network shares) is either not a disk or not this
// machine's, and walking it could take forever or never end.
const char* const kDiskFileSystems[] = {"ext2", "ext3", "ext4", "xfs", "btrfs", "f2fs", "jfs", "reiserfs",
                                        "vfat", "exfat", "ntfs", "ntfs3", "fuseblk", "zfs"};

bool IsOctalDigit(char c) {
    return c >= '0' && c <= '7';
}

QString UnescapeField(const QByteArray& field) {
    QByteArray out;
    out.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size() && IsOctalDigit(field[i + 1]) && IsOctalDigit(field[i + 2]) &&
            IsOctalDigit(field[i + 3])) {
            out.append(static_cast<char>(((field[i + 1] - '0') << 6) | ((field[i + 2] - '0') << 3) |
                                         (field[i + 3] - '0')));
            i += 3;
        } else {
            out.append(field[i]);
        }
    }
    // Mount points are bytes, as every path here: the locale's file name
    // encoding turns them into text the way QFile turns them back.
    return QFile::decodeName(out);
}

}  // namespace

std::vector<MountEntry> ParseMountTable(const QByteArray& text) {
    std::vector<MountEntry> entries;
    for (const QByteArray& line : text.split('\n')) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() < 3 || fields[1].isEmpty() || fields[2].isEmpty()) continue;
        entries.push_back({UnescapeField(fields[1]), fields[2]});
    }
    return entries;
}

QStringList DiskMountPoints(const std::vector<MountEntry>& mounts) {
    QStringList drives;
    QSet<QString> seen;
    for (const MountEntry& mount : mounts) {
        bool disk = false;
        for (const char* type : kDiskFileSystems) disk = disk || mount.type == type;
        if (disk && !seen.contains(mount.mountPoint)) {
            seen.insert(mount.mountPoint);
            drives << mount.mountPoint;
        }
    }
    return drives;
}

std::optional<QByteArray> ReadToEnd(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) return std::nullopt;
    QByteArray content;
    char chunk[16384];
    for (;;) {
        const qint64 got = file.read(chunk, sizeof chunk);
        if (got < 0) return std::nullopt;
        if (got == 0) return content;
        content.append(chunk, got);
    }
}

std::optional<std::vector<MountEntry>> ReadMountTable() {
    const std::optional<QByteArray> text = ReadToEnd(QLatin1String(kOwnMountTable));
    if (!text) return std::nullopt;
    return ParseMountTable(*text);
}

}  // namespace quillory
