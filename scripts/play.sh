#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds and starts the game on Debian 12: installs any missing Debian packages (as root),
# builds a Release into ./build and runs ./build/dist/zorvik. Arguments go to the game.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

packages=(build-essential cmake pkg-config libsdl2-dev qt6-base-dev zlib1g-dev)

source scripts/packages.sh

install_missing "${packages[@]}"
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DZORVIK_BUILD_TESTS=OFF -DZORVIK_BUILD_BENCH=OFF
cmake --build build -j"$(nproc)"
exec ./build/dist/zorvik "$@"
