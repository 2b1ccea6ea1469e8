#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs every check on Debian 12: installs any missing Debian packages (as root), makes sure no
# file outside platform/ includes SDL, then builds and runs all tests twice: a normal build
# (warnings as errors) in ./build-test and an AddressSanitizer + UBSan build in ./build-asan.
# The normal build also runs the editor and number tests under cs_CZ.UTF-8, a desktop locale
# whose decimal separator is a comma (generated here when missing). Between the two builds the
# Debian packages are built from ./build-test, checked (lintian, reproducibility, layout,
# hardening) and run with no display as a normal user and as root. Every source file must carry
# its SPDX licence line.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

packages=(build-essential cmake pkg-config libsdl2-dev qt6-base-dev zlib1g-dev libgtest-dev libgmock-dev
          libbenchmark-dev locales desktop-file-utils appstream lintian qt6-translations-l10n)

source scripts/packages.sh

install_missing "${packages[@]}"

if ! grep -qixE 'cs_CZ\.utf-?8' <<<"$(locale -a 2>/dev/null || true)"; then
    if [[ $(id -u) -ne 0 ]]; then
        echo "Missing locale: cs_CZ.UTF-8 (run as root to generate it)" >&2
        exit 1
    fi
    echo "Generating the locale cs_CZ.UTF-8"
    localedef -i cs_CZ -f UTF-8 cs_CZ.UTF-8
fi

echo "== Every source file carries its licence line"
scripts/spdx.sh --check

echo "== SDL stays inside platform/"
sdl_users=$(find . \( -path ./platform -o -path './build*' -o -path ./.git \) -prune -o \
    -type f \( -name '*.h' -o -name '*.hpp' -o -name '*.cpp' -o -name '*.cc' -o -name '*.c' \) \
    -exec grep -lE '^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"]SDL2?[/_.]' {} + || true)
if [[ -n $sdl_users ]]; then
    echo "SDL headers included outside platform/:" >&2
    echo "$sdl_users" >&2
    exit 1
fi

export QT_QPA_PLATFORM=offscreen
jobs=$(nproc)

echo "== Build and test (warnings as errors)"
cmake -S . -B build-test -DZORVIK_WERROR=ON
cmake --build build-test -j"$jobs"
ctest --test-dir build-test --output-on-failure --timeout 600 -j"$jobs"

echo "== Editor and number tests under cs_CZ.UTF-8 (decimal comma)"
LC_ALL=cs_CZ.UTF-8 build-test/tests/common_tests --gtest_brief=1
if [[ -x build-test/tests/editor_tests ]]; then
    LC_ALL=cs_CZ.UTF-8 build-test/tests/editor_tests --gtest_brief=1
fi

echo "== Debian package, unpacked and run as a normal user with no display"
scripts/package-check.sh build-test

echo "== Build and test with AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S . -B build-asan -DZORVIK_SANITIZE=ON -DZORVIK_WERROR=ON -DZORVIK_BUILD_BENCH=OFF
cmake --build build-asan -j"$jobs"
# The whole proofs of the shipped levels run in the normal build only: they play the same prover
# code as the small prover tests, for millions of states, three times slower here.
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir build-asan --output-on-failure --timeout 1500 -j"$jobs" -LE whole-proof

echo "== All checks passed"
