#!/bin/sh
# The device link library for Windows: cross-builds QV7_Sys_API.dll with its
# test suite (mingw-w64) and runs the suite under Wine in a fresh prefix.
#   scripts/test-windows.sh [BUILD_DIR]   (default: build/w64)
set -eu
here=$(cd "$(dirname "$0")/.." && pwd)
dir=${1:-$here/build/w64}

wine=""
for candidate in /usr/lib/wine/wine64 "$(command -v wine64 || true)" "$(command -v wine || true)"; do
    if [ -n "$candidate" ] && [ -x "$candidate" ]; then wine=$candidate; break; fi
done
if ! command -v x86_64-w64-mingw32-g++-posix >/dev/null || [ -z "$wine" ]; then
    echo "test-windows: the mingw-w64 cross compiler or Wine is missing" >&2
    exit 1
fi
wineserver=$(dirname "$wine")/wineserver
[ -x "$wineserver" ] || wineserver=wineserver

cmake -S "$here" -B "$dir" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$here/cmake/mingw-w64.cmake" >/dev/null
cmake --build "$dir"

# A prefix of its own under the build tree, so every run starts from the same
# clean Windows; no Mono or Gecko installer prompts, no debug chatter.
export WINEPREFIX="$dir/wineprefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64
# One Wine server for the whole run rather than one per test program.
"$wineserver" -p 2>/dev/null || true
trap '"$wineserver" -k 2>/dev/null || true' EXIT
# Wine's own background services start with the first program of a session
# and keep its output open; started here, they never hold CTest waiting on a
# test's output.
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "test-windows: preparing the Wine prefix"
    "$wine" wineboot --init >/dev/null 2>&1
else
    "$wine" wineboot >/dev/null 2>&1
fi

ctest --test-dir "$dir" --output-on-failure -j2
echo "Windows tests passed."
