#!/usr/bin/env bash
# Builds Quaerio and runs every test headless: the full suite, the unit
# tests again under AddressSanitizer + UndefinedBehaviorSanitizer, and the
# thread code under ThreadSanitizer.
set -euo pipefail
cd "$(dirname "$0")"

tools/install-deps.sh
jobs=$(nproc)

echo "== Build and run the full suite"
cmake -S . -B build-test -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build-test -j "$jobs"
(cd build-test && ctest --output-on-failure -j "$jobs")

echo "== The shipped catalogue through the program's own checker"
build-test/app/quaerio --check-catalogue res/Quaerio.CFG

echo "== Unit tests under AddressSanitizer + UndefinedBehaviorSanitizer"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQUAERIO_SANITIZE=address \
    -DQUAERIO_WITH_WEBENGINE=OFF -DQUAERIO_BUILD_BENCH=OFF
cmake --build build-asan -j "$jobs"
(cd build-asan && ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ctest --output-on-failure -j "$jobs")

echo "== Thread code under ThreadSanitizer"
cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUAERIO_SANITIZE=thread \
    -DQUAERIO_WITH_WEBENGINE=OFF -DQUAERIO_BUILD_BENCH=OFF
cmake --build build-tsan -j "$jobs" --target browsers_test
(cd build-tsan && TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1 \
    ctest --output-on-failure -R '^browsers_test$')
