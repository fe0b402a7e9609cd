#!/bin/sh
# Installs the build into a fresh prefix and starts the installed programs
# from there: they must find their files from their own place.
# Usage: install_test.sh BUILD-DIR
set -u
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/opt/quillory
failures=0

fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

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
    share/bash-completion/completions/qv7 \
    lib/udev/rules.d/60-quillory.rules; do
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
    include=$(PKG_CONFIG_PATH="$libdir/pkgconfig" pkg-config --cflags-only-I QV7_Sys_API | sed 's/^-I//; s/ *$//')
    linkdir=$(PKG_CONFIG_PATH="$libdir/pkgconfig" pkg-config --libs-only-L QV7_Sys_API | sed 's/^-L//; s/ *$//')
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

# Started from the prefix, each program finds the documents there (and the
# shared data above); the library it loads is the installed one.
check_paths() {  # check_paths NAME OUTPUT-FILE
    grep -qxF "help topics: $prefix/share/doc/quillory/Quillory.html" "$2" || fail "$1 does not find the user guide"
    grep -qxF "read me: $prefix/share/doc/quillory/README.txt" "$2" || fail "$1 does not find the read-me"
    for entry in $shared_data; do
        grep -qF "$prefix/$entry" "$2" || fail "$1 does not look for $entry"
        grep -F "$prefix/$entry" "$2" | grep -q "(missing)" && fail "$1 misses $entry"
    done
}
env -u LD_LIBRARY_PATH "$prefix/bin/qv7" paths >"$work/qv7.txt" 2>"$work/qv7.err" || fail "qv7 paths failed"
check_paths qv7 "$work/qv7.txt"
QT_QPA_PLATFORM=offscreen env -u LD_LIBRARY_PATH "$prefix/bin/Quillory" --paths >"$work/Quillory.txt" 2>"$work/Quillory.err" ||
    fail "Quillory --paths failed"
check_paths Quillory "$work/Quillory.txt"
for program in qv7 Quillory; do
    ldd "$prefix/bin/$program" | grep -q "libQV7_Sys_API.so.2 => $prefix/" || fail "$program does not load the installed library"
done
env -u LD_LIBRARY_PATH "$prefix/bin/qv7" --device "virtual:$work/printer" list >"$work/list.txt" 2>&1 ||
    { fail "the installed qv7 cannot list a virtual printer"; cat "$work/list.txt"; }

# The desktop entry starts the installed program and shows the installed icon.
grep -qx "Exec=Quillory" share/applications/quillory.desktop || fail "the desktop entry does not start Quillory"
grep -qx "Icon=quillory" share/applications/quillory.desktop || fail "the desktop entry has another icon"

if [ "$failures" -ne 0 ]; then
    echo "Installed:"
    find . -type f -o -type l | sort | sed 's/^/  /'
    exit 1
fi
echo "install layout ok"
