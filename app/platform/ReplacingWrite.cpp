#include "ReplacingWrite.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace quillory {

namespace {

// What a new file gets when it replaces nothing of its own kind: what any
// other program's new file would get.
QFileDevice::Permissions NewFilePermissions() {
#ifdef Q_OS_UNIX
    const mode_t mask = umask(022);
    umask(mask);
    const mode_t mode = 0666 & ~mask;
    QFileDevice::Permissions permissions;
    if (mode & S_IRUSR) permissions |= QFileDevice::ReadOwner | QFileDevice::ReadUser;
    if (mode & S_IWUSR) permissions |= QFileDevice::WriteOwner | QFileDevice::WriteUser;
    if (mode & S_IRGRP) permissions |= QFileDevice::ReadGroup;
    if (mode & S_IWGRP) permissions |= QFileDevice::WriteGroup;
    if (mode & S_IROTH) permissions |= QFileDevice::ReadOther;
    if (mode & S_IWOTH) permissions |= QFileDevice::WriteOther;
    return permissions;
#else
    return QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser | QFileDevice::WriteUser;
#endif
}

}  // namespace

bool WriteReplacingName(const QString& path, const QByteArray& bytes, QString* reason) {
    const QFileInfo target(path);
    // Named as the device link names its temporaries, with this process's
    // id, so that one a killed run leaves is known for what it is.
    QTemporaryFile temporary(target.dir().filePath(QStringLiteral(".%1.part-%2-XXXXXX")
                                                       .arg(target.fileName())
                                                       .arg(QCoreApplication::applicationPid())));
    // Not following links: a regular file under the name lends its
    // permissions, a link lends nothing.
    const bool replacesFile = target.exists() && !target.isSymLink() && target.isFile();
    bool written = temporary.open() && temporary.write(bytes) == bytes.size() && temporary.flush() &&
                   temporary.setPermissions(replacesFile ? target.permissions() : NewFilePermissions());
#ifdef Q_OS_UNIX
    // On disk before it takes the name, so a crash leaves the old file or the new.
    written = written && fsync(temporary.handle()) == 0;
#endif
    if (!written) {
        *reason = temporary.error() != QFileDevice::NoError ? temporary.errorString()
                                                            : QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    temporary.close();
    std::error_code failure;
    std::filesystem::rename(QFile::encodeName(temporary.fileName()).toStdString(),
                            QFile::encodeName(path).toStdString(), failure);
    if (failure) {
        *reason = QString::fromStdString(failure.message());
        return false;
    }
    temporary.setAutoRemove(false);
    return true;
}

}  // namespace quillory
