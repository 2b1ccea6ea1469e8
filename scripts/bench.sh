#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the benchmarks in Release into ./build-bench, runs every one (each with five
# repetitions, reporting medians) and prints a summary table: the median, its ratio to a memory
# or file-reading floor measured in the same run, and the target. Also measures the game's peak
# memory. Measures only: it never fails on a missed target. Extra arguments go to every
# benchmark program (e.g. --benchmark_repetitions=9).
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

build=${ZORVIK_BENCH_BUILD:-build-bench}  # another build folder may be named in the environment
export QT_QPA_PLATFORM=offscreen

cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DZORVIK_BUILD_BENCH=ON -DZORVIK_BUILD_TESTS=ON \
    >/dev/null
programs=(bench_game_frame bench_text_frame bench_editor bench_editor_tools bench_level_load bench_startup
          bench_scaled_picture bench_prove)
cmake --build "$build" -j"$(nproc)" --target "${programs[@]}"

summary=$(mktemp)
trap 'rm -f "$summary"' EXIT
for program in "${programs[@]}"; do
    echo "== $program"
    "$build/bench/$program" "$@" | tee -a "$summary"
done
echo "== peak memory"
"$build/bench/bench_startup" --peak-memory | tee -a "$summary"

echo
echo "== Summary (medians; the floor is a memset + memcpy of the same bytes, or reading the files)"
printf '%-32s %-14s %-14s %s\n' "What" "Median" "Ratio" "Target"
grep '^SUMMARY|' "$summary" | while IFS='|' read -r _ what value ratio target; do
    printf '%-32s %-14s %-14s %s\n' "$what" "$value" "$ratio" "$target"
done
