#!/bin/sh
# Installs what is missing, builds, and runs every test: once as built, once
# under AddressSanitizer + UndefinedBehaviorSanitizer.
set -eu
here=$(cd "$(dirname "$0")/.." && pwd)
"$here/scripts/install-deps.sh"

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="allocator_may_return_null=1:detect_leaks=1:abort_on_error=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export LSAN_OPTIONS="suppressions=$here/scripts/lsan.supp:print_suppressions=0"

"$here/scripts/build.sh" "$here/build/release" -DQUILLORY_TESTS=ON -DQUILLORY_BENCHMARKS=ON
ctest --test-dir "$here/build/release" --output-on-failure -j2

"$here/scripts/build.sh" "$here/build/asan" -DQUILLORY_SANITIZE=ON -DQUILLORY_BENCHMARKS=OFF -DQUILLORY_TESTS=ON
ctest --test-dir "$here/build/asan" --output-on-failure -j2

# The library for Windows, cross-built and run under Wine, when the tools are here.
if command -v x86_64-w64-mingw32-g++-posix >/dev/null &&
    { [ -x /usr/lib/wine/wine64 ] || command -v wine64 >/dev/null || command -v wine >/dev/null; }; then
    "$here/scripts/test-windows.sh" "$here/build/w64"
fi

# A few seconds of each fuzz target, so none of them rots.
"$here/scripts/fuzz.sh" 5
echo "All tests passed."
