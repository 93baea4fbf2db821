#!/usr/bin/env bash
# Installs the build tree under the prefix /usr into a temporary DESTDIR and
# checks that it holds exactly the files that tools/package-files.txt lists.
# Then starts the installed program through bin/quaerio, which must find its
# catalogue in lib/quaerio: once for --check-catalogue, and once with its
# window, which must come up and close normally when asked to.
# Usage: InstallTreeTest.sh CMAKE BUILD_DIR FILE_LIST
set -euo pipefail
cmake=$1 build=$2 list=$3

tmp=$(mktemp -d)
program=
cleanup() {
    [[ -n $program ]] && kill -KILL "$program" 2>/dev/null
    rm -rf "$tmp"
}
trap cleanup EXIT
root=$tmp/root

DESTDIR=$root "$cmake" --install "$build" --prefix /usr >/dev/null
if ! diff -u <(grep -v -e '^#' -e '^$' "$list" | sed 's|^|usr/|' | sort) \
             <(cd "$root" && find . ! -type d | sed 's|^\./||' | sort); then
    echo "FAIL: the install tree (+) differs from $list (-)"
    exit 1
fi

"$root/usr/bin/quaerio" --check-catalogue || { echo "FAIL: --check-catalogue through bin/quaerio: exit $?"; exit 1; }

export HOME=$tmp/home XDG_CONFIG_HOME=$tmp/home/config XDG_DATA_HOME=$tmp/home/data \
    XDG_CACHE_HOME=$tmp/home/cache XDG_RUNTIME_DIR=$tmp/home/runtime
mkdir -p -m 700 "$XDG_RUNTIME_DIR"
"$root/usr/bin/quaerio" >"$tmp/program.log" 2>&1 &
program=$!

# The program catches SIGTERM once its main window is up; without its
# catalogue it stops at a message box instead.
sigterm_caught() {
    local caught
    caught=$(awk '/^SigCgt:/ { print $2 }' "/proc/$program/status" 2>/dev/null) || return 1
    [[ -n $caught ]] && (( (0x$caught >> 14) & 1 ))
}
deadline=$((SECONDS + 60))
until sigterm_caught; do
    if ! kill -0 "$program" 2>/dev/null || ((SECONDS > deadline)); then
        echo "FAIL: the window of the installed program did not come up"
        cat "$tmp/program.log"
        exit 1
    fi
    sleep 0.1
done

kill -TERM "$program"
status=0
wait "$program" || status=$?
program=
if ((status != 0)) || [[ ! -s $XDG_CONFIG_HOME/Tavistel/Quaerio.conf ]]; then
    echo "FAIL: the installed program ended with $status and settings: $(ls "$XDG_CONFIG_HOME/Tavistel" 2>&1)"
    cat "$tmp/program.log"
    exit 1
fi
echo "The install tree matches $list; the program started through bin/quaerio ran and closed cleanly."
