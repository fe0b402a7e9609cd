// qv7 paths: where the installed files are looked for.
#include <cstdio>

#include "Commands.h"
#include "InstalledFiles.h"

namespace qv7cli {

int RunPaths(const Arguments& args) {
    if (!args.empty()) return UsageError("paths takes no arguments");
    std::fputs(quillory::InstalledFilesText().toLocal8Bit().constData(), stdout);
    return kExitSuccess;
}

}  // namespace qv7cli
