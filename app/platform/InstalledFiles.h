// The files an installation brings along (and the folders the firmware
// upgrade uses), where this program looks for them, and whether they are there. `Quillory --paths` and `qv7 paths` print the
// list, so a user (or a test of an installation) can see what a program
// started from its place will find.
#ifndef QUILLORY_INSTALLED_FILES_H
#define QUILLORY_INSTALLED_FILES_H

#include <QString>
#include <vector>

namespace quillory {

struct InstalledFile {
    const char* role;
    QString path;
    bool present = false;
};

std::vector<InstalledFile> InstalledFiles();

// One line per file: the role, the path, and "missing" after one that is not there.
QString InstalledFilesText();

}  // namespace quillory

#endif
