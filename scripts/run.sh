#!/bin/sh
# Installs what is missing, builds, and starts Quillory on the virtual printer
# that stands in for a real one (seeded on first use).
set -eu
here=$(cd "$(dirname "$0")/.." && pwd)
"$here/scripts/install-deps.sh"
"$here/scripts/build.sh" "$here/build/release"

printer="${QUILLORY_VIRTUAL_PRINTER:-${XDG_DATA_HOME:-$HOME/.local/share}/Quillory/virtual-printer}"
mkdir -p "$printer"
# The machine-wide settings an installation has, for the program in the build
# tree: its folder, so "Send file set..." finds the schema the build copied.
# A QUILLORY_MACHINE_SETTINGS already set (a real file, a test's) is kept.
if [ -z "${QUILLORY_MACHINE_SETTINGS:-}" ]; then
    QUILLORY_MACHINE_SETTINGS="$here/build/release/machine-settings.conf"
    printf 'dir=%s\n' "$here/build/release/bin" >"$QUILLORY_MACHINE_SETTINGS"
    export QUILLORY_MACHINE_SETTINGS
fi
exec "$here/build/release/bin/Quillory" --device "virtual:$printer"
