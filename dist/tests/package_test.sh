#!/bin/sh
# Builds the Debian package from the build tree as scripts/package.sh does,
# unpacks it and checks its files, control fields, maintainer scripts and
# lintian's verdict. The package is left as BUILD-DIR/dist/tests/quillory.deb
# for package_install_test.sh.
# Usage: package_test.sh BUILD-DIR SANITIZED(ON|OFF)
set -u
build=$1
if [ "$2" = ON ]; then
    # A package of sanitizer builds is nothing anyone installs.
    echo "skipped in a sanitizer build"
    exit 77
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

cpack --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 || { cat "$work/cpack.log"; exit 1; }
arch=$(dpkg --print-architecture)
deb=$work/out/quillory_2.1.3_$arch.deb
[ -f "$deb" ] || { ls "$work/out"; echo "FAIL: no quillory_2.1.3_$arch.deb"; exit 1; }
rm -f "$build/dist/tests/quillory.deb"
cp "$deb" "$build/dist/tests/quillory.deb"
dpkg-deb -x "$deb" "$work/root"
dpkg-deb -e "$deb" "$work/control"

cd "$work/root"
for file in \
    usr/bin/Quillory usr/bin/qv7 \
    usr/lib/udev/rules.d/60-quillory.rules \
    usr/share/doc/quillory/copyright usr/share/doc/quillory/changelog.gz \
    usr/share/doc/quillory/README.txt usr/share/doc/quillory/Quillory.html \
    usr/share/applications/quillory.desktop usr/share/icons/hicolor/scalable/apps/quillory.svg \
    usr/share/man/man1/qv7.1.gz usr/share/man/man1/Quillory.1.gz \
    usr/share/bash-completion/completions/qv7; do
    [ -f "$file" ] || fail "$file is not in the package"
done
[ -n "$(find usr/lib* -name 'libQV7_Sys_API.so.2')" ] || fail "the library's soname is not in the package"
[ -z "$(find . -path '*tests*' -o -name '*_tests' -o -name 'QuillorySetup')" ] || fail "test or medium files in the package"
for program in usr/bin/qv7 usr/bin/Quillory; do
    readelf -d "$program" | grep -q 'RUNPATH.*\[\$ORIGIN/' || fail "$program does not find the library from its own place"
    readelf -d "$program" | grep -q "$build" && fail "$program points into the build tree"
done

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = quillory ] || fail "Package: $(field Package)"
[ "$(field Version)" = 2.1.3 ] || fail "Version: $(field Version)"
[ "$(field Architecture)" = "$arch" ] || fail "Architecture: $(field Architecture)"
for library in libc6 libusb-1.0-0 libqt6widgets6 libxerces-c3.2; do
    field Depends | grep -q "$library" || fail "Depends lacks $library: $(field Depends)"
done
[ -x "$work/control/postinst" ] && [ -x "$work/control/postrm" ] || fail "maintainer scripts missing or not executable"

# The maintainer scripts, run into a separate root as dpkg --root would.
system=$work/system
settings=$system/etc/xdg/Orvale/Orvale_Quillory.conf
DPKG_ROOT=$system sh "$work/control/postinst" configure || fail "postinst failed"
printf '[General]\nVersion=2.01\ndir=/usr/bin\n' >"$work/expected.conf"
cmp -s "$settings" "$work/expected.conf" || { fail "postinst wrote:"; cat "$settings"; }
DPKG_ROOT=$system sh "$work/control/postinst" configure || fail "postinst failed on upgrade"
DPKG_ROOT=$system sh "$work/control/postrm" purge || fail "postrm failed"
[ -e "$system/etc/xdg/Orvale" ] && fail "postrm left $(ls -A "$system/etc/xdg/Orvale")"

lintian --tag-display-limit 0 "$deb" >"$work/lintian.txt" 2>&1
grep -v -e '^E:' -e 'root privileges' "$work/lintian.txt" | sed 's/^/lintian: /'
if grep -q '^E:' "$work/lintian.txt"; then
    grep '^E:' "$work/lintian.txt"
    fail "lintian reports errors"
fi

[ "$failures" -eq 0 ] || exit 1
echo "package ok"
