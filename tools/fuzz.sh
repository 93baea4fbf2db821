#!/usr/bin/env bash
# Fuzzes the catalogue reader and the list rule for SECONDS seconds (default 600).
# Builds in build-fuzz with clang and libFuzzer (ASan + UBSan); new inputs go
# to build-fuzz/corpus, crashes to build-fuzz/crashes.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-600}
build=build-fuzz

CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DQUAERIO_FUZZ=ON -DQUAERIO_WITH_WEBENGINE=OFF -DQUAERIO_BUILD_TESTS=OFF -DQUAERIO_BUILD_BENCH=OFF
cmake --build "$build" --target fuzz_catalogue

mkdir -p "$build/corpus" "$build/crashes"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    "$build/tests/fuzz/fuzz_catalogue" -max_total_time="$seconds" -max_len=65536 -timeout=10 \
    -rss_limit_mb=4096 -print_final_stats=1 -artifact_prefix="$build/crashes/" \
    "$build/corpus" tests/fuzz/corpus
