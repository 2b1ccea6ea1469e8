#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the libFuzzer targets of fuzz/ with clang (AddressSanitizer + UBSan) in ./build-fuzz
# and runs each on a copy of its committed corpus, to a number of executions or a time,
# whichever comes first. Prints each target's executions, rate and coverage against the targets:
# 10 000 000 executions (or 30 minutes) without a fault, map readers at least 5 000 a second.
# Usage: scripts/fuzz.sh [target...]   (targets: game_map editor_map hiscore bmp wav; default all)
# Environment: FUZZ_RUNS (executions per target, default 10000000), FUZZ_SECONDS (time limit
#              per target, default 1800), FUZZ_BUILD (build folder), FUZZ_JOBS (build jobs,
#              default nproc), FUZZ_MERGE=1 (merge the inputs of the run that reach new edges
#              into fuzz/corpus/<target>).
# A crash, leak or broken check stops with the reproducer saved as build-fuzz/findings/<target>/.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

runs=${FUZZ_RUNS:-10000000}
seconds=${FUZZ_SECONDS:-1800}
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

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS=suppressions=$PWD/fuzz/lsan.supp
status=0
for t in "${targets[@]}"; do
    work="$build/corpus/$t"
    findings="$build/findings/$t"
    log="$build/fuzz_$t.log"
    mkdir -p "$work" "$findings"
    cp -n fuzz/corpus/"$t"/* "$work"/ 2>/dev/null || true
    echo "== fuzz_$t: up to $runs executions or ${seconds}s"
    fault=no
    if ! "$build/fuzz/fuzz_$t" -runs="$runs" -max_total_time="$seconds" -max_len=16384 \
        -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$findings/" \
        "$work" 2>"$log"; then
        echo "fuzz_$t found a fault; see $log and $findings/" >&2
        fault=yes
        status=1
    fi
    executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
    cov=$(grep -oE 'cov: [0-9]+' "$log" | tail -1 | cut -d' ' -f2)
    elapsed=$(awk -v n="${executions:-0}" -v r="${rate:-0}" 'BEGIN { if (r > 0) printf "%.0f", n / r; else print "?" }')
    verdict="meets"
    if [[ $fault == yes ]]; then
        verdict="FAULT"
    elif ((${executions:-0} < 10000000)) && [[ $elapsed == "?" || $elapsed -lt 1800 ]]; then
        verdict="short of 10 000 000 executions and 30 minutes"
    fi
    if [[ $t == *_map ]] && ((${rate:-0} < 5000)); then
        verdict="$verdict; below 5 000 exec/s"
    fi
    printf 'fuzz_%-10s %10s executions  %6s exec/s  cov %-5s  about %ss  fault: %s  [%s]\n' \
        "$t" "${executions:-?}" "${rate:-?}" "${cov:-?}" "$elapsed" "$fault" "$verdict"
    if [[ ${FUZZ_MERGE:-0} == 1 && $fault == no ]]; then
        # Adds to the committed corpus only the inputs that reach new edges (hit counts are
        # left out, so the corpus stays small); the named seeds stay as they are.
        "$build/fuzz/fuzz_$t" -merge=1 -use_counters=0 -max_len=16384 fuzz/corpus/"$t" "$work" \
            2>"$build/merge_$t.log"
        echo "   corpus merged into fuzz/corpus/$t: $(ls fuzz/corpus/"$t" | wc -l) files," \
            "$(du -sk fuzz/corpus/"$t" | cut -f1) KiB"
    fi
done
exit $status
