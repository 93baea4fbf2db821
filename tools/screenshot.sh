#!/usr/bin/env bash
# Takes the README's pictures on a virtual X server.
# - The main window: the catalogue shipped with the program, its first
#   category's engines answered by loopback servers standing in for them
#   (127.0.0.2, 127.0.0.3, ...), the engine list shown and a search run until
#   the status bar reads "Complete". Saved as docs/screenshot.png (or the path
#   given as the first argument).
# - The engine manager, of the program itself with the catalogue shipped:
#   View > Engines opened by the keyboard, English > Web opened and its second
#   engine chosen, then edited (F2). Saved as engines.png and
#   engine-editor.png beside the first picture; needs ImageMagick's import
#   (tools/install-deps.sh imagemagick).
set -euo pipefail
cd "$(dirname "$0")/.."

out="$(realpath -m "${1:-docs/screenshot.png}")"
# The main picture is taken by a test-side program, so it needs a build with
# the tests; test.sh's build folder is one. An existing folder keeps its options.
build="${QUAERIO_BUILD_DIR:-build-test}"

if [[ ! -f "$build/CMakeCache.txt" ]]; then
    cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$build" --target quaerio_screenshot quaerio

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

# The main window's X window is replaced once its first page shows: the
# window is taken when the same one is found twice a second apart.
QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1280x800x24" bash -c '
    set -euo pipefail
    "$1" & program=$!
    # The program is let finish before the X server goes, so it neither dies
    # of the lost display nor still writes its profile while it is removed.
    trap "kill $program; wait $program || true" EXIT
    window=""
    for _ in $(seq 60); do
        found=$(xdotool search --sync --onlyvisible --name "^Quaerio$" | head -n 1)
        [[ -n $window && $found == "$window" ]] && break
        window=$found
        sleep 1
    done
    xdotool windowfocus --sync "$window"
    xdotool key alt+v n
    dialog=$(xdotool search --sync --onlyvisible --name "^Engines$" | head -n 1)
    xdotool windowfocus --sync "$dialog"
    xdotool key Down Right Down Down
    sleep 1
    import -window "$dialog" "$2/engines.png"
    xdotool key F2
    editor=$(xdotool search --sync --onlyvisible --name "^Edit Engine$" | head -n 1)
    sleep 1
    import -window "$editor" "$2/engine-editor.png"
' _ "$(realpath "$build/app/quaerio")" "$(dirname "$out")"
echo "Saved $(dirname "$out")/engines.png and $(dirname "$out")/engine-editor.png"
