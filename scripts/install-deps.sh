#!/bin/sh
# Installs the Debian packages Quillory needs to build and test, if any are missing.
set -eu

packages="build-essential cmake ninja-build pkg-config qt6-base-dev libgl-dev libxerces-c-dev \
libusb-1.0-0-dev libgtest-dev libgmock-dev libbenchmark-dev mingw-w64 wine64 googletest \
dpkg-dev lintian clang-14 libclang-rt-14-dev"

missing=""
for package in $packages; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $package"
    fi
done
[ -z "$missing" ] && exit 0

echo "Installing:$missing"
if [ "$(id -u)" -eq 0 ]; then
    sudo=""
else
    sudo="sudo"
fi
$sudo apt-get update
# shellcheck disable=SC2086
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends $missing
