#!/bin/sh
# Builds the packages as a packager does, with scripts/package.sh from a clean
# export of the source (without the tests, which the build tree has run
# already), and checks what lintian cannot: the hardening lintian only hints
# at, the maintainer scripts (as dpkg and as rpm run them) and the RPM against
# the Debian package. The packages are left in
# BUILD-DIR/dist/tests/package for package_install_test.sh.
# Usage: package_test.sh BUILD-DIR SANITIZED(ON|OFF) SOURCE-DIR
set -u
build=$1
source=$3
skip() {
    echo "skipped: $*"
    exit 77
}
[ "$2" = ON ] && skip "a package of sanitizer builds is nothing anyone installs"
[ -n "${QUILLORY_PACKAGE_BUILD:-}" ] && skip "a package build does not build packages of itself"
for tool in dpkg-buildpackage dpkg-checkbuilddeps lintian rpm; do
    command -v "$tool" >/dev/null 2>&1 || skip "$tool is missing: scripts/install-deps.sh installs it"
done
(cd "$source" && dpkg-checkbuilddeps -Pnocheck) >/dev/null 2>&1 ||
    skip "$(cd "$source" && dpkg-checkbuilddeps -Pnocheck 2>&1): scripts/install-deps.sh installs them"

packages=$build/dist/tests/package
failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

# The tests ran in this build tree already, so the package build leaves them
# out; and debugging symbols, which take it a fifth longer.
start=$(date +%s)
DEB_BUILD_OPTIONS="nocheck noautodbgsym ${DEB_BUILD_OPTIONS:-}" DEB_BUILD_PROFILES=nocheck DEB_CXXFLAGS_STRIP=-g \
    "$source/scripts/package.sh" "$build/dist/tests/medium" "$packages" || exit 1
echo "scripts/package.sh took $(($(date +%s) - start)) s"

version=$(cd "$source" && dpkg-parsechangelog -S Version)
arch=$(dpkg --print-architecture)
deb=$packages/quillory_${version}_$arch.deb
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# lintian names hardening it misses only as information.
grep 'hardening-' "$packages/lintian.txt" && fail "lintian finds programs built without hardening"

dpkg-deb -x "$deb" "$work/root"

# The quillory RPM holds the files of the quillory Debian package, but for
# Debian's own records (lintian overrides, doc-base). It may leave folders
# shared with other packages to them.
dpkg-deb --fsys-tarfile "$deb" | tar -t | sed 's|^\./|/|; s|/$||' | grep -v '^/*$' | sort >"$work/deb-all"
(cd "$work/root" && find . ! -type d | sed 's|^\.||' | grep -v -e '^/usr/share/lintian/' -e '^/usr/share/doc-base/' |
    sort) >"$work/deb-files"
rpm=$packages/quillory-$version-1.$(uname -m).rpm
rpm -qlp "$rpm" | sort >"$work/rpm"
comm -23 "$work/deb-files" "$work/rpm" | sed 's/^/only in the Debian package: /' >"$work/differences"
comm -13 "$work/deb-all" "$work/rpm" | sed 's/^/only in the RPM: /' >>"$work/differences"
[ -s "$work/differences" ] && { cat "$work/differences"; fail "the RPM and the Debian package differ"; }

# The maintainer scripts into a separate root, as dpkg --root runs them, and
# the RPM's own as rpm does (1 on install, 1 on an upgrade's removal, 0 on
# erase).
dpkg-deb -e "$deb" "$work/deb"
mkdir "$work/rpm-scripts"
rpm -qp --qf '%{POSTIN}' "$rpm" >"$work/rpm-scripts/postinst"
rpm -qp --qf '%{POSTUN}' "$rpm" >"$work/rpm-scripts/postrm"
settings=$work/system/etc/xdg/Orvale/Orvale_Quillory.conf
printf '[General]\nVersion=2.01\ndir=/usr/bin\n' >"$work/expected.conf"
for steps in "deb configure configure purge" "rpm-scripts 1 1 0"; do
    # shellcheck disable=SC2086
    set -- $steps
    scripts=$work/$1
    DPKG_ROOT=$work/system sh "$scripts/postinst" "$2" || fail "$1: postinst $2 failed"
    DPKG_ROOT=$work/system sh "$scripts/postinst" "$3" || fail "$1: postinst $3 failed on upgrade"
    [ "$2" = 1 ] && DPKG_ROOT=$work/system sh "$scripts/postrm" 1
    cmp -s "$settings" "$work/expected.conf" || { fail "$1: after postinst $2:"; cat "$settings"; }
    DPKG_ROOT=$work/system sh "$scripts/postrm" "$4" || fail "$1: postrm $4 failed"
    [ -e "$work/system/etc/xdg/Orvale" ] && fail "$1: postrm $4 left $(ls -A "$work/system/etc/xdg/Orvale")"
done

[ "$failures" -eq 0 ] || exit 1
echo "packages ok"
