#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The long soak: builds the game tests with AddressSanitizer + UBSan in ./build-asan (or
# $SOAK_BUILD) and plays ZORVIK_SOAK_FRAMES frames (default 100000) of random keys over every
# level, checking the game's invariants on every frame.
# Usage: scripts/soak.sh [frames]
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

frames=${1:-${ZORVIK_SOAK_FRAMES:-100000}}
build=${SOAK_BUILD:-build-asan}
cmake -S . -B "$build" -DZORVIK_SANITIZE=ON -DZORVIK_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" --target game_tests
ZORVIK_SOAK_FRAMES=$frames ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    "$build/tests/game_tests" --gtest_filter='Soak.*'
