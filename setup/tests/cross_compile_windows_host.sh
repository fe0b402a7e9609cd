#!/bin/sh
# Compiles the Windows host and the logic it serves with the mingw-w64 cross
# compiler and links them into a small Windows program, so the Win32 code is
# checked on every build even though it only runs on Windows.
# cross_compile_windows_host.sh SETUP_SOURCE_DIR WORK_DIR
set -eu
source_dir=$1
work_dir=$2
compiler=x86_64-w64-mingw32-g++

if [ -n "${QUILLORY_PACKAGE_BUILD:-}" ]; then
    echo "skipped: a package build has no Windows cross compiler"
    exit 77
fi

if ! command -v "$compiler" >/dev/null 2>&1; then
    echo "FAILED: $compiler is missing; install the Debian package mingw-w64 (scripts/install-deps.sh does)." >&2
    exit 1
fi

mkdir -p "$work_dir"
cat > "$work_dir/driver.cpp" <<'CPP'
#include "PlatformHost.h"
#include "SetupLauncher.h"

namespace {
struct SilentMessages : quillory::setup::MessagePort {
    void ShowMessage(const std::string&) override {}
};
struct NoTimer : quillory::setup::SetupTimer {
    void Start(int) override {}
    void Stop() override {}
};
}  // namespace

int main(int argc, char**) {
    SilentMessages messages;
    NoTimer timer;
    auto host = quillory::setup::MakePlatformSetupHost(messages);
    quillory::setup::SetupLauncher launcher(*host, messages, timer);
    // Never run here: the program exists to be linked, not started.
    if (argc > 99) {
        launcher.Initialize();
    }
    return 0;
}
CPP

"$compiler" -std=c++20 -Wall -Wextra -Werror -O1 \
    -I"$source_dir/core" -I"$source_dir/windows" \
    "$source_dir"/core/*.cpp "$source_dir"/windows/*.cpp "$work_dir/driver.cpp" \
    -static -ladvapi32 -lshell32 -o "$work_dir/QuillorySetupHostCheck.exe"
echo "Windows host compiled and linked: $work_dir/QuillorySetupHostCheck.exe"
