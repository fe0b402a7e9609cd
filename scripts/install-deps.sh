#!/bin/sh
# Installs the Debian packages Quillory needs, if any are missing:
#   install-deps.sh       to build and run every test (the default)
#   install-deps.sh run   only to build and run the programs
set -eu

packages="build-essential cmake ninja-build pkg-config qt6-base-dev libgl-dev libxerces-c-dev \
libusb-1.0-0-dev"
if [ "${1:-}" != run ]; then
    packages="$packages libgtest-dev libgmock-dev libbenchmark-dev mingw-w64 wine64 googletest dpkg-dev lintian clang-14 libclang-rt-14-dev \
cups cups-client umockdev libumockdev-dev"
    # qv7's manual page and completions, read as man and the shells read them.
    packages="$packages man-db bash-completion zsh fish"
    # The package build and the checks of its packages.
    packages="$packages debhelper appstream rpm"
fi

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
