#!/bin/sh
# Installs what is missing to build and run the programs, builds them (not the
# tests and benchmarks), and starts Quillory on the virtual printer that stands
# in for a real one (seeded on first use).
set -eu
here=$(cd "$(dirname "$0")/.." && pwd)
dir="$here/build/release"
"$here/scripts/install-deps.sh" run

# A tree the test command made keeps its tests; a new one is made without them.
if [ -f "$dir/CMakeCache.txt" ]; then
    cmake -S "$here" -B "$dir" -G Ninja >/dev/null
else
    cmake -S "$here" -B "$dir" -G Ninja -DQUILLORY_TESTS=OFF -DQUILLORY_BENCHMARKS=OFF >/dev/null
fi
cmake --build "$dir" --target Quillory qv7

printer="${QUILLORY_VIRTUAL_PRINTER:-${XDG_DATA_HOME:-$HOME/.local/share}/Quillory/virtual-printer}"
mkdir -p "$printer"
# The machine-wide settings an installation has, for the program in the build
# tree: its folder, so "Send file set..." finds the schema the build copied.
# A QUILLORY_MACHINE_SETTINGS already set (a real file, a test's) is kept.
if [ -z "${QUILLORY_MACHINE_SETTINGS:-}" ]; then
    QUILLORY_MACHINE_SETTINGS="$dir/machine-settings.conf"
    printf 'dir=%s\n' "$dir/bin" >"$QUILLORY_MACHINE_SETTINGS"
    export QUILLORY_MACHINE_SETTINGS
fi
exec "$dir/bin/Quillory" --device "virtual:$printer"
