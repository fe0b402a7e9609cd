// The kernel's table of mounted file systems, as /proc/self/mounts gives it:
// one line per mount, fields separated by blanks: what is mounted, where,
// the file system type, its options and two numbers. A blank, tab, newline
// or backslash inside a field is written as an octal escape ("\040").
#ifndef QUILLORY_MOUNT_TABLE_H
#define QUILLORY_MOUNT_TABLE_H

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace quillory {

struct MountEntry {
    QString mountPoint;
    QByteArray type;
    bool operator==(const MountEntry&) const = default;
};

// The mounts of a table's text, in its order; a line without a mount point
// and a type is passed over.
std::vector<MountEntry> ParseMountTable(const QByteArray& text);

// The mount points among the mounts that are local disk file systems, each
// once, in the table's order: where a program can be installed.
QStringList DiskMountPoints(const std::vector<MountEntry>& mounts);

// A file's whole content, read until the system says there is no more. Files
// under /proc report a size of 0 and are at their "end" before the first
// read, so neither the size nor the end mark may decide how much to read.
std::optional<QByteArray> ReadToEnd(const QString& path);

// This process's mounts; nothing when the table cannot be read.
std::optional<std::vector<MountEntry>> ReadMountTable();

}  // namespace quillory

#endif
