#!/bin/sh
# Installs the three built Debian packages together on this machine with
# dpkg, starts the installed programs, builds a small program against the
# installed library, purges the packages and looks for anything of ours left
# behind. It changes /usr and /etc for real, so it runs only as root, and
# never where one of the packages or any of their files is already present.
# udev is a stand-in that records what postinst asks of it.
# Usage: package_install_test.sh BUILD-DIR SANITIZED(ON|OFF)
# The packages are the ones package_test.sh built, in BUILD-DIR/dist/tests/package.
set -u
build=$1
skip() {
    echo "skipped: $*"
    exit 77
}
[ "$2" = ON ] && skip "a package of sanitizer builds is nothing anyone installs"
[ -n "${QUILLORY_PACKAGE_BUILD:-}" ] && skip "a package build leaves the machine's packages alone"
[ "$(id -u)" -eq 0 ] || skip "dpkg -i changes /usr and /etc: run the tests as root to install the package for real"
for tool in dpkg dpkg-deb dpkg-query flock c++ pkg-config; do
    command -v "$tool" >/dev/null 2>&1 || skip "$tool is missing"
done
# One of these at a time on a machine, from whichever build tree.
exec 9>/run/lock/quillory-package-install-test.lock
flock 9
names="quillory libqv7-sys-api2 libqv7-sys-api-dev"
for name in $names; do
    state=$(dpkg-query -W -f='${db:Status-Status}' "$name" 2>/dev/null)
    [ -z "$state" ] || [ "$state" = not-installed ] ||
        skip "the package $name is on this machine already ($state); this test would replace it"
done
settings=/etc/xdg/Orvale/Orvale_Quillory.conf
[ -e "$settings" ] && skip "$settings exists already (from cmake --install?); this test would replace it"

work=$(mktemp -d)
installed=no
cleanup() {
    # Whatever happened, the machine is left as it was found.
    # shellcheck disable=SC2086
    if [ "$installed" = yes ] && ! dpkg --purge $names >"$work/cleanup.log" 2>&1; then
        cat "$work/cleanup.log"
        echo "FAIL: could not purge $names; remove them by hand"
    fi
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' HUP INT TERM
failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

debs=""
for name in $names; do
    deb=$(ls "$build/dist/tests/package/${name}_"*.deb 2>/dev/null)
    [ -f "$deb" ] || { echo "FAIL: no ${name}_*.deb in $build/dist/tests/package: package_test.sh makes it"; exit 1; }
    debs="$debs $deb"
    dpkg-deb --fsys-tarfile "$deb" | tar -t | sed 's|^\./|/|; s|/$||' | grep -v '^/*$' >>"$work/files"
done
while read -r path; do
    if [ -e "$path" ] && [ ! -d "$path" ]; then
        skip "$path exists already and dpkg would take it over silently"
    fi
done <"$work/files"

# udev does not run here; the stand-in answers its ping and records the rest.
mkdir "$work/bin"
cat >"$work/bin/udevadm" <<EOF
#!/bin/sh
echo "\$*" >>"$work/udevadm.log"
EOF
chmod 0755 "$work/bin/udevadm"

installed=yes
# shellcheck disable=SC2086
PATH="$work/bin:$PATH" dpkg -i $debs >"$work/install.log" 2>&1 || { cat "$work/install.log"; fail "dpkg -i failed"; }
for name in $names; do
    [ "$(dpkg-query -W -f='${db:Status-Abbrev}' "$name")" = "ii " ] || fail "$name is not installed: $(dpkg-query -W "$name")"
done

printf '[General]\nVersion=2.01\ndir=/usr/bin\n' >"$work/expected.conf"
cmp -s "$settings" "$work/expected.conf" || fail "postinst wrote $settings: $(cat "$settings" 2>&1)"
printf '%s\n' "control --ping" "control --reload" \
    "trigger --action=change --subsystem-match=usb --attr-match=idVendor=ffff --attr-match=idProduct=07e0" \
    >"$work/expected-udevadm.log"
cmp -s "$work/udevadm.log" "$work/expected-udevadm.log" || fail "postinst asked of udev: $(cat "$work/udevadm.log" 2>&1)"

# The installed programs, with nothing set by hand.
mkdir "$work/home"
run() { env -i HOME="$work/home" PATH=/usr/bin:/bin QT_QPA_PLATFORM=offscreen "$@" 2>&1; }
run /usr/bin/Quillory --version | grep -q '^Quillory [0-9]' || fail "Quillory --version: $(run /usr/bin/Quillory --version)"
run /usr/bin/qv7 --version | grep -q '^qv7 [0-9]' || fail "qv7 --version: $(run /usr/bin/qv7 --version)"
run /usr/bin/qv7 paths | grep -q '^file set schema: /usr/share/quillory/quilloryFileSet.xsd$' ||
    fail "qv7 paths: $(run /usr/bin/qv7 paths)"
run /usr/bin/qv7 --device "virtual:$work/printer" list | grep -q '(Slot 1)  PRICES.dat' ||
    fail "qv7 list on a virtual printer: $(run /usr/bin/qv7 --device "virtual:$work/printer" list)"

# A program of someone else's, built against the installed library as its
# documents say, runs with it and learns its version, which is the one the
# header and pkg-config give.
cat >"$work/version.cpp" <<'EOF'
#include <QV7_Sys_API.h>
#include <cstdio>

int main() {
    uint32_t major = 0, minor = 0, patch = 0;
    QV7_GetLibraryVersion(&major, &minor, &patch);
    std::printf("%u.%u.%u\n", major, minor, patch);
    return 0;
}
EOF
# shellcheck disable=SC2046
c++ -o "$work/version" "$work/version.cpp" $(pkg-config --cflags --libs QV7_Sys_API) 2>&1 || fail "the program does not build"
header=$(sed -n 's/^#define QV7_SYS_API_VERSION_[A-Z]* \([0-9]*\)$/\1/p' /usr/include/quillory/QV7_Sys_API.h | paste -sd.)
[ "$(pkg-config --modversion QV7_Sys_API)" = "$header" ] ||
    fail "pkg-config says version $(pkg-config --modversion QV7_Sys_API), the header $header"
[ "$(run "$work/version")" = "$header" ] || fail "the library says version $(run "$work/version"), the header $header"
[ "$(pkg-config --cflags QV7_Sys_API | sed 's/ *$//')" = "-I/usr/include/quillory" ] ||
    fail "pkg-config --cflags says $(pkg-config --cflags QV7_Sys_API)"

# shellcheck disable=SC2086
dpkg --purge $names >"$work/purge.log" 2>&1 || { cat "$work/purge.log"; fail "dpkg --purge failed"; }
installed=no
for name in $names; do
    state=$(dpkg-query -W -f='${db:Status-Status}' "$name" 2>/dev/null)
    [ -z "$state" ] || [ "$state" = not-installed ] || fail "dpkg still knows $name after the purge ($state)"
done
[ -e /etc/xdg/Orvale ] && fail "the purge left $(ls -A /etc/xdg/Orvale) in /etc/xdg/Orvale"
# Every file of the package is gone; a folder of it may stay only when
# another package owns it.
folders=""
while read -r path; do
    if [ -d "$path" ] && [ ! -L "$path" ]; then
        folders="$folders $path"
    elif [ -e "$path" ] || [ -L "$path" ]; then
        fail "the purge left $path"
    fi
done <"$work/files"
# shellcheck disable=SC2086
for path in $(dpkg-query -S $folders 2>&1 >/dev/null | sed -n 's/^dpkg-query: no path found matching pattern //p'); do
    fail "the purge left the folder $path"
done

[ "$failures" -eq 0 ] || exit 1
echo "installed, started and purged without a trace"
