#!/usr/bin/env bash
# Builds Quaerio and starts it with the catalogue that ships with it.
set -euo pipefail
cd "$(dirname "$0")"

# The shipped catalogue names Japanese engines; without a CJK font they show as boxes.
tools/install-deps.sh fonts-noto-cjk
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUAERIO_BUILD_TESTS=OFF -DQUAERIO_BUILD_BENCH=OFF
cmake --build build

# Chromium's sandbox refuses to run as root.
if [[ $EUID -eq 0 ]]; then
    export QTWEBENGINE_DISABLE_SANDBOX=1
fi

if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
    echo "No display found: starting Quaerio on a virtual X server (xvfb-run)."
    # A virtual X server has no GPU; let the browser engine draw in software.
    export QTWEBENGINE_CHROMIUM_FLAGS="${QTWEBENGINE_CHROMIUM_FLAGS:-} --disable-gpu"
    exec xvfb-run -a -s "-screen 0 1280x800x24" build/app/quaerio "$@"
fi
exec build/app/quaerio "$@"
