#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The memory soak: builds the game tests in Release in ./build-bench (or $ZORVIK_BENCH_BUILD)
# and plays 20 000 frames (or the number given) of random keys over every level, sampling the
# resident memory every 1000 frames. Prints the samples and the verdict against the targets:
# the resident memory stays within 20 MiB of its first sample and shows no upward trend.
# Usage: scripts/memsoak.sh [frames]
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

frames=${1:-20000}
build=${ZORVIK_BENCH_BUILD:-build-bench}
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DZORVIK_BUILD_BENCH=ON -DZORVIK_BUILD_TESTS=ON \
    >/dev/null
cmake --build "$build" -j"$(nproc)" --target game_tests

log=$(mktemp)
trap 'rm -f "$log"' EXIT
ZORVIK_SOAK_FRAMES=$frames ZORVIK_SOAK_MEMORY_EVERY=1000 \
    "$build/tests/game_tests" --gtest_filter='Soak.*' | tee "$log"
grep '^soak memory (MiB' "$log" | python3 -c '
import sys
samples = [float(v) for v in sys.stdin.read().split(":", 1)[1].split()]
first, rest = samples[0], samples[1:]
n = len(rest)
xs = range(n)
mx, my = (n - 1) / 2.0, sum(rest) / n
slope = sum((x - mx) * (y - my) for x, y in zip(xs, rest)) / max(1e-9, sum((x - mx) ** 2 for x in xs))
spread = max(samples) - first
half = n // 2
drift = sum(rest[half:]) / (n - half) - sum(rest[:half]) / half
print("MEMSOAK|resident memory, %d samples every 1000 frames|%.2f .. %.2f MiB (first %.2f)|-"
      % (len(samples), min(samples), max(samples), first))
print("MEMSOAK|growth above the first sample|%.2f MiB|<= 20 MiB: %s" % (spread, "met" if spread <= 20 else "MISSED"))
print("MEMSOAK|trend after the first sample|%+.1f KiB per 1000 frames (second half %+.2f MiB on the first)|no upward trend: %s"
      % (slope * 1024, drift, "met" if slope * 1024 <= 16 and drift <= 0.25 else "MISSED"))
'
