#!/bin/sh
# Builds the Debian package and lays out an installation medium beside it:
# scripts/package.sh [OUT-DIR]   (default: build/medium)
# The medium holds quillory_<version>_<arch>.deb, the setup launcher, the USB
# access rule and the read-me, as the launcher expects to find them.
set -eu
here=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$here/build/medium}
tree=$here/build/package
"$here/scripts/install-deps.sh"

"$here/scripts/build.sh" "$tree" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr -DQUILLORY_BENCHMARKS=OFF
mkdir -p "$out"
cpack --config "$tree/CPackConfig.cmake" -B "$tree/cpack" >/dev/null
cp "$tree"/cpack/quillory_*.deb "$tree/bin/QuillorySetup" "$here/dist/60-quillory.rules" \
    "$here/dist/doc/README.txt" "$out/"
if command -v lintian >/dev/null; then
    lintian "$out"/quillory_*.deb || true
fi
ls "$out"
