#!/usr/bin/env bash
# Builds and starts the game on Debian 12: installs any missing Debian packages (as root),
# builds a Release into ./build and runs ./build/dist/zorvik. Arguments go to the game.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

packages=(build-essential cmake pkg-config libsdl2-dev qt6-base-dev zlib1g-dev)

install_missing() {
    local missing=()
    for p in "$@"; do
        dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
    done
    if ((${#missing[@]})); then
        if [[ $(id -u) -ne 0 ]]; then
            echo "Missing packages: ${missing[*]} (run as root to install them)" >&2
            exit 1
        fi
        echo "Installing: ${missing[*]}"
        apt-get update
        DEBIAN_FRONTEND=noninteractive apt-get install -y "${missing[@]}"
    fi
}

install_missing "${packages[@]}"
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DZORVIK_BUILD_TESTS=OFF -DZORVIK_BUILD_BENCH=OFF
cmake --build build -j"$(nproc)"
exec ./build/dist/zorvik "$@"
