#!/bin/sh
# Installs the build into a fresh prefix whose path holds a blank and a
# letter beyond ASCII, and starts the installed programs from there with a
# clean environment, as a user who set nothing by hand: they must find their
# files, their machine settings and the firmware images from their own place.
# Usage: install_test.sh BUILD-DIR
set -u
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix="$work/Zoë Programs/usr"
failures=0

fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

# Nothing of the caller's environment but what the test machine needs: a
# home, the offscreen display, and a sanitizer build's options. No QUILLORY_*
# variable; the machine's own configuration folders are replaced by an empty
# one, so that a Quillory package installed on the test machine does not
# answer in place of the installation under test.
clean() {
    env -i HOME="$work/home" QT_QPA_PLATFORM=offscreen XDG_CONFIG_DIRS="$work/no-machine-settings" \
        ${ASAN_OPTIONS+"ASAN_OPTIONS=$ASAN_OPTIONS"} ${UBSAN_OPTIONS+"UBSAN_OPTIONS=$UBSAN_OPTIONS"} \
        ${LSAN_OPTIONS+"LSAN_OPTIONS=$LSAN_OPTIONS"} "$@"
}
mkdir -p "$work/home" "$work/no-machine-settings"

cmake --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1 || { cat "$work/install.log"; exit 1; }
cd "$prefix"

for file in \
    bin/Quillory bin/qv7 bin/QuillorySetup \
    include/quillory/QV7_Sys_API.h \
    share/doc/quillory/README.txt share/doc/quillory/Quillory.html \
    share/doc/quillory/copyright share/doc/quillory/changelog.gz \
    share/applications/quillory.desktop share/metainfo/example.orvale.Quillory.metainfo.xml \
    share/icons/hicolor/scalable/apps/quillory.svg \
    share/icons/hicolor/16x16/apps/quillory.png share/icons/hicolor/256x256/apps/quillory.png \
    share/man/man1/qv7.1.gz share/man/man1/Quillory.1.gz \
    share/bash-completion/completions/qv7 share/zsh/vendor-completions/_qv7 \
    share/fish/vendor_completions.d/qv7.fish \
    lib/udev/rules.d/60-quillory.rules \
    etc/xdg/Orvale/Orvale_Quillory.conf; do
    [ -f "$file" ] || fail "$file is not installed"
done

# The library under its versioned soname, with the link-time name beside it.
library=$(find "$prefix" -name 'libQV7_Sys_API.so.*.*.*' | head -n 1)
[ -n "$library" ] || fail "no versioned libQV7_Sys_API.so"
libdir=$(dirname "$library")
[ -L "$libdir/libQV7_Sys_API.so.2" ] || fail "no soname link libQV7_Sys_API.so.2"
[ -L "$libdir/libQV7_Sys_API.so" ] || fail "no link libQV7_Sys_API.so"
pc="$libdir/pkgconfig/QV7_Sys_API.pc"
if [ -f "$pc" ]; then
    # pkg-config escapes blanks and other letters for a shell, which takes
    # them out again, as a build command would.
    eval "set -- $(PKG_CONFIG_PATH="$libdir/pkgconfig" pkg-config --cflags-only-I QV7_Sys_API)"
    include=${1#-I}
    eval "set -- $(PKG_CONFIG_PATH="$libdir/pkgconfig" pkg-config --libs-only-L QV7_Sys_API)"
    linkdir=${1#-L}
    [ "$(realpath "$include")" = "$prefix/include/quillory" ] || fail "pkg-config's headers are in $include"
    [ "$(realpath "$linkdir")" = "$libdir" ] || fail "pkg-config's library is in $linkdir"
else
    fail "$pc is not installed"
fi

# Run-time data other rooms install under share/quillory; each adds its own
# entries here as it lands, e.g. share/quillory/quilloryFileSet.xsd,
# share/quillory/symbols, share/quillory/QV7_Firmware.
shared_data="share/quillory/symbols share/quillory/quilloryFileSet.xsd"
for entry in $shared_data; do
    [ -e "$entry" ] || fail "$entry is not installed"
done

# The installation's machine settings name its own bin folder.
settings="$prefix/etc/xdg/Orvale/Orvale_Quillory.conf"
grep -qx 'Version=2.01' "$settings" || fail "the machine settings hold no Version=2.01"
grep -qxF "dir=\"$prefix/bin\"" "$settings" || { fail "the machine settings do not name $prefix/bin:"; cat "$settings"; }

# Started from the prefix, each program finds the documents, the machine
# settings and the shared data there; the library it loads is the installed one.
check_paths() {  # check_paths NAME OUTPUT-FILE
    grep -qxF "help topics: $prefix/share/doc/quillory/Quillory.html" "$2" || fail "$1 does not find the user guide"
    grep -qxF "read me: $prefix/share/doc/quillory/README.txt" "$2" || fail "$1 does not find the read-me"
    grep -qxF "machine settings: $settings" "$2" || fail "$1 does not find the machine settings"
    for entry in $shared_data; do
        grep -qF "$prefix/$entry" "$2" || fail "$1 does not look for $entry"
        grep -F "$prefix/$entry" "$2" | grep -q "(missing)" && fail "$1 misses $entry"
    done
}
clean "$prefix/bin/qv7" paths >"$work/qv7.txt" 2>"$work/qv7.err" || fail "qv7 paths failed"
check_paths qv7 "$work/qv7.txt"
clean "$prefix/bin/Quillory" --paths >"$work/Quillory.txt" 2>"$work/Quillory.err" || fail "Quillory --paths failed"
check_paths Quillory "$work/Quillory.txt"
for program in qv7 Quillory; do
    ldd "$prefix/bin/$program" | grep -q "libQV7_Sys_API.so.2 => $prefix/" || fail "$program does not load the installed library"
done
# qv7 paths names the images the upgrade would send, wherever they are.
mkdir "$work/images"
clean QUILLORY_FIRMWARE_DIR="$work/images" "$prefix/bin/qv7" paths >"$work/qv7.txt" 2>&1
grep -qxF "firmware images: $work/images" "$work/qv7.txt" || fail "qv7 paths does not name QUILLORY_FIRMWARE_DIR"

# The printer is chosen on the command line; the virtual one starts with a
# generation 200 firmware.
printer=$work/printer
device="--device virtual:$printer"
clean "$prefix/bin/qv7" $device list >"$work/list.txt" 2>&1 ||
    { fail "the installed qv7 cannot list a virtual printer"; cat "$work/list.txt"; }

# The upgrade finds the installed image under the prefix.
images="$prefix/share/quillory/QV7_Firmware"
mkdir -p "$images"
head -c 1048576 /dev/zero | tr '\0' 'E' >"$images/QV7E_200.bin"
clean "$prefix/bin/qv7" $device firmware upgrade --model QV7E --yes >"$work/upgrade.txt" 2>&1 ||
    { fail "the installed qv7 does not upgrade from $images"; cat "$work/upgrade.txt"; }
cmp -s "$images/QV7E_200.bin" "$printer/firmware.bin" || fail "the installed image did not reach the printer"
[ -f "$work/home/.local/share/Quillory/QV7_200_BK.bin" ] || fail "no backup in the user's data folder"

# Get all files into a folder named relative to where qv7 runs, then send the
# set from another folder, where files of the same relative names wait, to an
# emptied printer: the schema is found under the prefix and every slot comes
# back as it was.
mkdir -p "$work/shop/out" "$work/elsewhere/out"
cp -R "$printer/slots" "$work/slots-before"
(cd "$work/shop" && clean "$prefix/bin/qv7" $device get-all out --yes) >"$work/get-all.txt" 2>&1 ||
    { fail "get-all failed"; cat "$work/get-all.txt"; }
for fetched in "$work/shop/out"/*.dat "$work/shop/out"/*.qv7; do
    echo "another file" >"$work/elsewhere/out/$(basename "$fetched")"
done
rm -f "$printer"/slots/DAT/* "$printer"/slots/QV7/*
(cd "$work/elsewhere" && clean "$prefix/bin/qv7" $device send-set "$work/shop/out/allFiles.fsd") \
    >"$work/send-set.txt" 2>&1 || { fail "send-set from another folder failed"; cat "$work/send-set.txt"; }
restored=0
for kind in DAT QV7; do
    for slot in "$work/slots-before/$kind"/*.data; do
        cmp -s "$slot" "$printer/slots/$kind/$(basename "$slot")" || fail "$kind slot $(basename "$slot") not restored"
        restored=$((restored + 1))
    done
done
[ "$restored" -gt 1 ] || fail "the printer held only $restored files to restore"

# The desktop entry starts the installed program and shows the installed icon.
grep -qx "Exec=Quillory" share/applications/quillory.desktop || fail "the desktop entry does not start Quillory"
grep -qx "Icon=quillory" share/applications/quillory.desktop || fail "the desktop entry has another icon"

if [ "$failures" -ne 0 ]; then
    echo "Installed:"
    find . -type f -o -type l | sort | sed 's/^/  /'
    exit 1
fi
echo "install layout ok"
