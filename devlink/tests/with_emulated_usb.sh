#!/bin/sh
# Runs a program with umockdev's preload library, so that a testbed it (or its
# parent) makes replaces the machine's sysfs and /dev for it: how the tests of
# the emulated USB printer run. Usage: with_emulated_usb.sh PROGRAM [ARGUMENTS]
export LD_PRELOAD="libumockdev-preload.so.0${LD_PRELOAD:+:$LD_PRELOAD}"
# AddressSanitizer wants its runtime first of all libraries; the preload
# library only wraps libc's file calls and may come before it.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}verify_asan_link_order=0"
exec "$@"
