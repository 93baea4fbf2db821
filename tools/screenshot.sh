#!/usr/bin/env bash
# Builds Quaerio's end-to-end test and runs it on a virtual X server: a search
# typed into the main window against a small HTTP server on 127.0.0.1. Once
# the status bar reads "Complete", the main window is saved as
# docs/screenshot.png (or the path given as the first argument).
set -euo pipefail
cd "$(dirname "$0")/.."

out="$(realpath -m "${1:-docs/screenshot.png}")"
build="${QUAERIO_BUILD_DIR:-build}"

cmake -S . -B "$build" -G Ninja -DQUAERIO_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" --target app_webengine_test

# Chromium's sandbox refuses to run as root.
if [[ $EUID -eq 0 ]]; then
    export QTWEBENGINE_DISABLE_SANDBOX=1
fi
export QTWEBENGINE_CHROMIUM_FLAGS="--disable-gpu --disable-background-networking --disable-component-update"
home="$(mktemp -d)"
trap 'rm -rf "$home"' EXIT
export HOME="$home" XDG_CONFIG_HOME="$home/config" XDG_DATA_HOME="$home/data" XDG_CACHE_HOME="$home/cache"

QUAERIO_SCREENSHOT="$out" QT_QPA_PLATFORM=xcb \
    xvfb-run -a -s "-screen 0 1280x800x24" "$build/tests/app/endtoend/app_webengine_test"
echo "Saved $out"
