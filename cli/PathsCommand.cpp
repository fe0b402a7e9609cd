// qv7 paths: where the installed files are looked for.
#include <QJsonArray>
#include <cstdio>

#include "Commands.h"
#include "InstalledFiles.h"

namespace qv7cli {

int RunPaths(Invocation& invocation) {
    if (!invocation.json()) {
        std::fputs(quillory::InstalledFilesText().toLocal8Bit().constData(), stdout);
        return kExitSuccess;
    }
    QJsonArray files;
    for (const quillory::InstalledFile& file : quillory::InstalledFiles()) {
        files.append(QJsonObject{{"role", file.role}, {"path", file.path}, {"present", file.present}});
    }
    invocation.result.insert("files", files);
    return kExitSuccess;
}

}  // namespace qv7cli
