#!/bin/sh
# Builds Quillory's Debian packages from a clean export of this tree with
# dpkg-buildpackage, checks them with lintian, makes RPMs of the same build
# and lays out an installation medium:
#   scripts/package.sh [MEDIUM-DIR [WORK-DIR]]
# MEDIUM-DIR (default build/medium) gets the .deb files, the setup launcher,
# the USB access rule and the read-me, as the launcher expects to find them.
# WORK-DIR (default build/package) is emptied first (when it holds an earlier
# package build); it keeps the export, the packages, the .changes file,
# build.log and lintian.txt.
# Installs what the package build needs (the tools and debian/control's
# Build-Depends) when it is missing, nothing else. DEB_BUILD_OPTIONS=nocheck
# builds without the tests. Ends with 1 when the build fails or lintian
# reports an error or a warning.
set -eu
here=$(cd "$(dirname "$0")/.." && pwd)
medium=${1:-$here/build/medium}
work=${2:-$here/build/package}

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

# --- What the build needs ---
profiles=""
case " ${DEB_BUILD_OPTIONS:-} " in
*" nocheck "*) profiles="-Pnocheck" ;;
esac
missing=""
for package in dpkg-dev debhelper lintian rpm; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing="$missing $package"
done
if [ -n "$missing" ] || ! (cd "$here" && dpkg-checkbuilddeps $profiles >/dev/null 2>&1); then
    as_root apt-get update
    # shellcheck disable=SC2086
    [ -z "$missing" ] || as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends $missing
    # shellcheck disable=SC2086
    as_root env DEBIAN_FRONTEND=noninteractive apt-get build-dep -y --no-install-recommends $profiles "$here"
fi

# --- A clean export, as a clone would have it: the files git tracks, as they
# are in the tree now (so no build trees, nor files not yet added); all of
# the tree but build/ where there is no git ---
version=$(cd "$here" && dpkg-parsechangelog -S Version)
if [ -d "$work" ] && [ -n "$(ls -A "$work")" ] && [ ! -f "$work/build.log" ]; then
    echo "$work holds something other than an earlier package build; choose another WORK-DIR" >&2
    exit 2
fi
rm -rf "$work"
source=$work/quillory-$version
mkdir -p "$source"
: >"$work/build.log"
if git -C "$here" rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    # shellcheck disable=SC2016
    (cd "$here" && git ls-files -z --cached |
        xargs -0 sh -c 'for file do [ -e "$file" ] && printf "%s\0" "$file"; done; true' export |
        tar --null --no-recursion -T - -cf -) | tar -xf - -C "$source"
else
    tar -C "$here" --exclude=./build --exclude='./obj-*' -cf - . | tar -xf - -C "$source"
fi

# --- The Debian packages ---
echo "Building the Debian packages in $source (log: $work/build.log)"
if ! (cd "$source" && dpkg-buildpackage -us -uc -b -jauto) >"$work/build.log" 2>&1; then
    tail -n 60 "$work/build.log"
    echo "dpkg-buildpackage failed; the whole log is $work/build.log" >&2
    exit 1
fi
arch=$(dpkg --print-architecture)
changes=$work/quillory_${version}_$arch.changes
status=0
lintian --fail-on error,warning --display-info "$changes" >"$work/lintian.txt" 2>&1 || status=$?
grep -v 'running with root privileges' "$work/lintian.txt" || true
if [ "$status" -ne 0 ] || grep -q '^[EW]:' "$work/lintian.txt"; then
    echo "lintian found errors or warnings in $changes" >&2
    exit 1
fi

# --- RPMs of the same build ---
build=$source/obj-$(dpkg-architecture -qDEB_HOST_GNU_TYPE)
if ! cpack -G RPM --config "$build/CPackConfig.cmake" -B "$work/rpm" >"$work/rpm.log" 2>&1; then
    cat "$work/rpm.log"
    exit 1
fi
mv "$work"/rpm/*.rpm "$work/"

# --- The installation medium ---
mkdir -p "$medium"
for package in quillory libqv7-sys-api2 libqv7-sys-api-dev; do
    cp "$work/${package}_${version}_$arch.deb" "$medium/"
done
dpkg-deb --fsys-tarfile "$medium/quillory_${version}_$arch.deb" | tar -xOf - ./usr/bin/QuillorySetup >"$medium/QuillorySetup"
chmod 0755 "$medium/QuillorySetup"
cp "$source/dist/60-quillory.rules" "$source/dist/doc/README.txt" "$medium/"
ls -l "$work"/*.deb "$work"/*.rpm "$medium"
