# Cross build for 64-bit Windows with Debian's mingw-w64 compilers:
#   cmake -S . -B build/w64 -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake
# Builds the device link library and its tests only; the tests run under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

# The posix thread model: the library's std::mutex needs it with GCC 12.
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Keep pkg-config away from the build machine's own (Linux) libraries.
set(ENV{PKG_CONFIG_LIBDIR} /usr/x86_64-w64-mingw32/lib/pkgconfig)

# Test programs, test discovery and the export check run through Wine.
find_program(QUILLORY_WINE NAMES wine64 wine PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
if(QUILLORY_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${QUILLORY_WINE})
endif()

set(QUILLORY_LIBRARY_ONLY ON CACHE BOOL "" FORCE)
set(QUILLORY_BENCHMARKS OFF CACHE BOOL "" FORCE)
set(QUILLORY_GOOGLETEST_SOURCE /usr/src/googletest CACHE PATH "")
