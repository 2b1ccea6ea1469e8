#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ with clang (AddressSanitizer + UBSan) in ./build-fuzz
# and runs each for a bounded time on a copy of its seed corpus.
# Usage: scripts/fuzz.sh [target...]   (default: every target)
# Environment: FUZZ_SECONDS (per target, default 60), FUZZ_BUILD (build folder),
#              FUZZ_JOBS (build jobs, default nproc).
# A crash, leak or broken check stops with the reproducer saved as build-fuzz/findings/<target>/.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

seconds=${FUZZ_SECONDS:-60}
build=${FUZZ_BUILD:-build-fuzz}
jobs=${FUZZ_JOBS:-$(nproc)}
all=(game_map editor_map hiscore bmp wav)
targets=("$@")
((${#targets[@]})) || targets=("${all[@]}")

if ! command -v clang++ >/dev/null; then
    echo "clang++ is needed (Debian: apt-get install clang libclang-rt-dev)" >&2
    exit 1
fi

cmake -S . -B "$build" -DZORVIK_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++ -DZORVIK_BUILD_TESTS=OFF \
    -DZORVIK_BUILD_BENCH=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j"$jobs" --target "${targets[@]/#/fuzz_}"

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# Qt's font set-up keeps a few bytes of fontconfig to the end of the process.
export LSAN_OPTIONS=suppressions=$PWD/fuzz/lsan.supp
status=0
for t in "${targets[@]}"; do
    work="$build/corpus/$t"
    findings="$build/findings/$t"
    mkdir -p "$work" "$findings"
    cp -n fuzz/corpus/"$t"/* "$work"/ 2>/dev/null || true
    echo "== fuzz_$t for ${seconds}s"
    if ! "$build/fuzz/fuzz_$t" -max_total_time="$seconds" -max_len=16384 -timeout=10 \
        -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$findings/" "$work" \
        2>"$build/fuzz_$t.log"; then
        echo "fuzz_$t found a fault; see $build/fuzz_$t.log and $findings/" >&2
        status=1
    fi
    grep -E '^stat::number_of_executed_units|^Done [0-9]+ runs' "$build/fuzz_$t.log" || true
done
exit $status
