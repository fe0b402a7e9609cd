#include "QV7_Sys_API.h"

// Compiled into the library, so a program learns the version of the library it
// was loaded with, not the one of the header it was built with.
void QV7_GetLibraryVersion(uint32_t* major, uint32_t* minor, uint32_t* patch) {
    if (major) *major = QV7_SYS_API_VERSION_MAJOR;
    if (minor) *minor = QV7_SYS_API_VERSION_MINOR;
    if (patch) *patch = QV7_SYS_API_VERSION_PATCH;
}
