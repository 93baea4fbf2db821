#!/usr/bin/env bash
# Runs one libFuzzer target of tools/fuzz for SECONDS seconds (default 600):
#
#   tools/fuzz.sh [TARGET] [SECONDS] [LIBFUZZER-OPTION...]
#
# TARGET names a folder of tools/fuzz/corpus (default: catalogue). Builds in
# build-fuzz with clang and libFuzzer (ASan + UBSan); new inputs go to
# build-fuzz/corpus/TARGET, crashes to build-fuzz/crashes/TARGET.
set -euo pipefail
cd "$(dirname "$0")/.."

target=catalogue
if [[ $# -gt 0 && ! $1 =~ ^[0-9]+$ ]]; then
    target=$1
    shift
fi
seconds=${1:-600}
shift $(($# > 0 ? 1 : 0))
seeds=tools/fuzz/corpus/$target
if [[ ! -d $seeds ]]; then
    echo "fuzz.sh: no fuzz target \"$target\"; there are: $(ls tools/fuzz/corpus | tr '\n' ' ')" >&2
    exit 2
fi
build=build-fuzz

CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DQUAERIO_FUZZ=ON -DQUAERIO_WITH_WEBENGINE=OFF -DQUAERIO_BUILD_TESTS=OFF -DQUAERIO_BUILD_BENCH=OFF
cmake --build "$build" --target "fuzz_$target"

mkdir -p "$build/corpus/$target" "$build/crashes/$target"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    "$build/tools/fuzz/fuzz_$target" -max_total_time="$seconds" -max_len=65536 -timeout=10 \
    -rss_limit_mb=4096 -print_final_stats=1 -artifact_prefix="$build/crashes/$target/" "$@" \
    "$build/corpus/$target" "$seeds"
