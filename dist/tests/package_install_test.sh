#!/bin/sh
# Installs the built Debian package on this machine with dpkg, starts the
# installed programs, purges the package and looks for anything of ours left
# behind. It changes /usr and /etc for real, so it runs only as root, and
# never where a quillory package or any of its files is already present.
# udev is a stand-in that records what postinst asks of it.
# Usage: package_install_test.sh BUILD-DIR SANITIZED(ON|OFF)
# The package is the one package_test.sh built, BUILD-DIR/dist/tests/quillory.deb.
set -u
build=$1
skip() {
    echo "skipped: $*"
    exit 77
}
[ "$2" = ON ] && skip "a package of sanitizer builds is nothing anyone installs"
[ "$(id -u)" -eq 0 ] || skip "dpkg -i changes /usr and /etc: run the tests as root to install the package for real"
for tool in dpkg dpkg-deb dpkg-query flock; do
    command -v "$tool" >/dev/null 2>&1 || skip "$tool is missing"
done
# One of these at a time on a machine, from whichever build tree.
exec 9>/run/lock/quillory-package-install-test.lock
flock 9
state=$(dpkg-query -W -f='${db:Status-Status}' quillory 2>/dev/null)
[ -z "$state" ] || [ "$state" = not-installed ] ||
    skip "a quillory package is on this machine already ($state); this test would replace it"
settings=/etc/xdg/Orvale/Orvale_Quillory.conf
[ -e "$settings" ] && skip "$settings exists already (from cmake --install?); this test would replace it"

work=$(mktemp -d)
installed=no
cleanup() {
    # Whatever happened, the machine is left as it was found.
    if [ "$installed" = yes ] && ! dpkg --purge quillory >"$work/cleanup.log" 2>&1; then
        cat "$work/cleanup.log"
        echo "FAIL: could not purge quillory; remove it by hand"
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

deb=$build/dist/tests/quillory.deb
[ -f "$deb" ] || { echo "FAIL: no $deb: package_test.sh makes it"; exit 1; }
dpkg-deb --fsys-tarfile "$deb" | tar -t | sed 's|^\./|/|; s|/$||' | grep -v '^/*$' >"$work/files"
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
PATH="$work/bin:$PATH" dpkg -i "$deb" >"$work/install.log" 2>&1 || { cat "$work/install.log"; fail "dpkg -i failed"; }
[ "$(dpkg-query -W -f='${db:Status-Abbrev}' quillory)" = "ii " ] || fail "quillory is not installed: $(dpkg-query -W quillory)"

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

dpkg --purge quillory >"$work/purge.log" 2>&1 || { cat "$work/purge.log"; fail "dpkg --purge failed"; }
installed=no
state=$(dpkg-query -W -f='${db:Status-Status}' quillory 2>/dev/null)
[ -z "$state" ] || [ "$state" = not-installed ] || fail "dpkg still knows quillory after the purge ($state)"
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
