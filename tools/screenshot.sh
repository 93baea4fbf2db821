#!/usr/bin/env bash
# Takes the README's picture of the main window on a virtual X server: the
# catalogue shipped with the program, its first category's engines answered
# by loopback servers standing in for them (127.0.0.2, 127.0.0.3, ...), the
# engine list shown and a search run until the status bar reads "Complete".
# Saved as docs/screenshot.png (or the path given as the first argument).
set -euo pipefail
cd "$(dirname "$0")/.."

out="$(realpath -m "${1:-docs/screenshot.png}")"
# The picture is taken by a test-side program, so it needs a build with the
# tests; test.sh's build folder is one. An existing folder keeps its options.
build="${QUAERIO_BUILD_DIR:-build-test}"

if [[ ! -f "$build/CMakeCache.txt" ]]; then
    cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$build" --target quaerio_screenshot

# Chromium's sandbox refuses to run as root.
if [[ $EUID -eq 0 ]]; then
    export QTWEBENGINE_DISABLE_SANDBOX=1
fi
export QTWEBENGINE_CHROMIUM_FLAGS="--disable-gpu --disable-background-networking --disable-component-update"
home="$(mktemp -d)"
trap 'rm -rf "$home"' EXIT
export HOME="$home" XDG_CONFIG_HOME="$home/config" XDG_DATA_HOME="$home/data" XDG_CACHE_HOME="$home/cache"
export XDG_RUNTIME_DIR="$home/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"

QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1280x800x24" \
    "$build/tools/screenshot/quaerio_screenshot" "$out"
echo "Saved $out"
