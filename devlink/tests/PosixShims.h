// The few POSIX calls the tests use, on the Windows C runtime, which names
// them differently or lacks them.
#ifndef QV7_TESTS_POSIX_SHIMS_H
#define QV7_TESTS_POSIX_SHIMS_H

#ifdef _WIN32
#include <direct.h>

#include <cstdlib>
#include <cstring>

inline int setenv(const char* name, const char* value, int) {
    return _putenv_s(name, value);
}

// An empty value is how the Windows runtime removes a variable.
inline int unsetenv(const char* name) {
    return _putenv_s(name, "");
}

inline char* mkdtemp(char* pattern) {
    if (_mktemp_s(pattern, std::strlen(pattern) + 1) != 0) return nullptr;
    return _mkdir(pattern) == 0 ? pattern : nullptr;
}
#endif

#endif
