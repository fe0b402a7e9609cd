#!/bin/sh
# Installs what is missing, builds, and starts Quillory on the virtual printer
# that stands in for a real one (seeded on first use).
set -eu
here=$(cd "$(dirname "$0")/.." && pwd)
"$here/scripts/install-deps.sh"
"$here/scripts/build.sh" "$here/build/release"

printer="${QUILLORY_VIRTUAL_PRINTER:-${XDG_DATA_HOME:-$HOME/.local/share}/Quillory/virtual-printer}"
mkdir -p "$printer"
exec "$here/build/release/bin/Quillory" --device "virtual:$printer"
