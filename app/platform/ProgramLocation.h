// Where the running program's own file is, asked of the system rather than
// of Qt: Qt knows it only through an application object, and qv7 (like
// anything that runs before one exists) has none. Every folder an
// installation brings along is found from here.
#ifndef QUILLORY_PROGRAM_LOCATION_H
#define QUILLORY_PROGRAM_LOCATION_H

#include <QString>

namespace quillory {

// The full path of the running program with links resolved
// (/usr/bin/Quillory, C:\Program Files\Quillory\Quillory.exe); empty when
// the system cannot tell.
QString RunningProgramFile();

}  // namespace quillory

#endif
