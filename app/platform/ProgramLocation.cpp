#include "ProgramLocation.h"

#include <QFile>

#include <unistd.h>

#include <vector>

namespace quillory {

QString RunningProgramFile() {
    // The kernel's own link to the file this process runs: right whatever the
    // current folder, the PATH or argv[0] said.
    std::vector<char> buffer(4096);
    for (;;) {
        const ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (length < 0) return QString();
        if (static_cast<size_t>(length) < buffer.size()) {
            QString path = QFile::decodeName(QByteArray(buffer.data(), length));
            // A program replaced while it runs (a package upgrade) is still
            // where it was; the kernel marks the old file as gone.
            const QLatin1String deleted(" (deleted)");
            if (path.endsWith(deleted)) path.chop(deleted.size());
            return path;
        }
        buffer.resize(buffer.size() * 2);
    }
}

}  // namespace quillory
