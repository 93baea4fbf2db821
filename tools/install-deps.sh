#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing Quaerio
# need, when any of them is missing, and the further packages named as
# arguments (tools/package.sh names its own). Uses sudo when not run as root.
set -euo pipefail

packages=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev qt6-base-dev-tools qt6-svg-dev qt6-webengine-dev qt6-websockets-dev libgl-dev
    libgtest-dev
    libicu-dev
    clang libclang-rt-14-dev
    libx11-dev
    xvfb xauth xdotool
    dbus-daemon at-spi2-core
    "$@"
)

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$package")
    fi
done

if ((${#missing[@]})); then
    sudo=()
    if [[ $EUID -ne 0 ]]; then
        sudo=(sudo)
    fi
    echo "Installing: ${missing[*]}"
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
