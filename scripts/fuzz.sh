#!/bin/sh
# Builds the libFuzzer targets (clang, AddressSanitizer + UndefinedBehavior-
# Sanitizer) in build/fuzz and runs each for SECONDS (default 60), one after
# another, from the seeds the project writes itself. The corpus grows in
# build/fuzz/corpus/TARGET; a crash is kept as build/fuzz/artifacts/TARGET-*.
# Every path handed to a target is absolute: fuzz_fileset works in a folder
# of its own, so that definitions can name its files by short paths.
# Usage: scripts/fuzz.sh [SECONDS]
set -eu
here=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
build=${QUILLORY_FUZZ_BUILD:-$here/build/fuzz}
targets="csv virtual_folder link usb bitmap fileset setup"

CC=clang-14 CXX=clang++-14 cmake -S "$here" -B "$build" -G Ninja -DQUILLORY_FUZZ=ON -DQUILLORY_BENCHMARKS=OFF >/dev/null
cmake --build "$build" --target fuzz_seeds $(for t in $targets; do printf 'fuzz_%s ' "$t"; done)

rm -rf "$build/seeds"
"$build/bin/fuzz_seeds" "$build/seeds"
mkdir -p "$build/artifacts"
# The targets write and sync small files on every run; in memory that costs
# microseconds rather than a disk flush.
if [ -z "${TMPDIR:-}" ] && [ -d /dev/shm ] && [ -w /dev/shm ]; then export TMPDIR=/dev/shm; fi
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export LSAN_OPTIONS="suppressions=$here/scripts/lsan.supp:print_suppressions=0"
for target in $targets; do
    mkdir -p "$build/corpus/$target"
    echo "fuzz_$target: $seconds s"
    "$build/bin/fuzz_$target" -max_total_time="$seconds" -rss_limit_mb=2048 -print_final_stats=1 \
        -artifact_prefix="$build/artifacts/$target-" "$build/corpus/$target" "$build/seeds/$target" \
        2>"$build/fuzz_$target.log" || { tail -n 40 "$build/fuzz_$target.log"; exit 1; }
    grep -E 'DONE|stat::number_of_executed_units' "$build/fuzz_$target.log" || true
done
echo "Fuzz targets passed."
