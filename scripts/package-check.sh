#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the three Debian packages (zorvik-data, zorvik, zorvik-editor) from a finished build
# folder (default ./build) and checks them as a Debian games maintainer would:
#  - packaging writes nothing into the build tree, and a second run gives the same bytes;
#  - lintian --pedantic prints nothing (what is meant so is in the packages' overrides);
#  - the layout, the dependencies (the game and its data without Qt), the desktop entries, the
#    AppStream metainfo, the manual pages, the hardening and stripping of both programs;
#  - the unpacked packages run as a normal user ("zorvik-check" when run as root), and a
#    `cmake --install` tree runs as root: --version, test-play of a tiny level, the whole game
#    started and ended, the editor offscreen, a name entry that must land in the user's XDG data
#    folder, and nothing under either prefix changed (contents, modes, times).
# Everything runs with SDL's offscreen video, dummy audio and Qt's offscreen platform.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
build=$(realpath "${1:-build}")
umask 022

work=$(mktemp -d /tmp/zorvik-package-XXXXXX)
trap 'rm -rf "$work"' EXIT
chmod 755 "$work"

fail() {
    echo "package check: $*" >&2
    exit 1
}

echo "== Packages, made twice from one build"
touch "$work/before-packaging"
make_packages() {
    mkdir "$1"
    if ! (cd "$1" && cpack --config "$build/CPackConfig.cmake" -B "$1" >"$1/cpack.log" 2>&1); then
        cat "$1/cpack.log" >&2
        fail "cpack failed"
    fi
}
make_packages "$work/packages"
make_packages "$work/again"
written=$(find "$build" -newer "$work/before-packaging" | head -5)
[[ -z $written ]] || fail "packaging wrote into the build tree: $written"
debs=("$work"/packages/*.deb)
((${#debs[@]} == 3)) || fail "expected three packages, got: ${debs[*]##*/}"
for deb in "${debs[@]}"; do
    cmp "$deb" "$work/again/${deb##*/}" || fail "${deb##*/} differs between two runs"
    echo "${deb##*/}: $(stat -c %s "$deb") bytes, the same in both runs"
done
field() { dpkg-deb -f "$work"/packages/"$1"_*.deb "$2"; }
version=$(field zorvik Version)

echo "== lintian --pedantic --display-info"
# As a normal user: lintian warns about running as root.
player=zorvik-check
if [[ $(id -u) -eq 0 ]]; then
    id -u "$player" >/dev/null 2>&1 || useradd --no-create-home --shell /usr/sbin/nologin "$player"
    as_player() { runuser -u "$player" -- "$@"; }
else
    player=$(id -un)
    as_player() { "$@"; }
fi
lintian_output=$(as_player env -i PATH=/usr/bin:/bin HOME=/nonexistent \
    lintian --pedantic --display-info --fail-on none "${debs[@]}" 2>&1)
if [[ -n $lintian_output ]]; then
    echo "$lintian_output"
    fail "lintian found the above (fix it, or override it with a reason in packaging/lintian/)"
fi
echo "nothing"

echo "== Layout and dependencies"
root=$work/root
for deb in "${debs[@]}"; do
    dpkg-deb -x "$deb" "$root"
done
usr=$root/usr
for file in games/zorvik bin/zorvik-editor share/zorvik/data/012.dat "share/zorvik/ 005.dat" \
    share/zorvik/map/mapa1.map share/man/man6/zorvik.6.gz share/man/man6/zorvik-editor.6.gz \
    share/applications/cz.zorvik.zorvik.desktop share/applications/cz.zorvik.editor.desktop \
    share/metainfo/cz.zorvik.zorvik.metainfo.xml share/metainfo/cz.zorvik.editor.metainfo.xml \
    share/icons/hicolor/64x64/apps/cz.zorvik.zorvik.png \
    share/icons/hicolor/64x64/apps/cz.zorvik.editor.png; do
    test -e "$usr/$file" || fail "missing /usr/$file"
done
for package in zorvik-data zorvik zorvik-editor; do
    for doc in copyright changelog.Debian.gz changelog.gz; do
        test -f "$usr/share/doc/$package/$doc" || fail "missing /usr/share/doc/$package/$doc"
    done
done
[[ $(field zorvik-data Architecture) == all ]] || fail "zorvik-data is not Architecture: all"
game_depends=$(field zorvik Depends)
editor_depends=$(field zorvik-editor Depends)
echo "zorvik Depends: $game_depends"
echo "zorvik-editor Depends: $editor_depends"
[[ $game_depends == *"zorvik-data (= $version)"* ]] || fail "zorvik does not depend on its data"
[[ $game_depends != *qt* ]] || fail "the game depends on Qt"
[[ $editor_depends == *"zorvik (= $version)"* && $editor_depends == *qt6-translations-l10n* ]] ||
    fail "zorvik-editor does not depend on the game and Qt's translations"
apt-get install --simulate --no-install-recommends "$work"/packages/zorvik_*.deb \
    "$work"/packages/zorvik-data_*.deb >/dev/null || fail "the game and its data do not install"
apt-get install --simulate --no-install-recommends "${debs[@]}" >/dev/null ||
    fail "the three packages do not install together"

echo "== Desktop entries, metainfo, manual pages"
desktop-file-validate "$usr"/share/applications/*.desktop
for metainfo in "$usr"/share/metainfo/*.xml; do
    report=$(appstreamcli validate --pedantic --no-net "$metainfo" 2>&1) ||
        fail "appstreamcli: $report"
    ! grep -qE '^ +[EWIP]: ' <<<"$report" || fail "appstreamcli: $report"
done
for page in zorvik zorvik-editor; do
    warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z \
        "$usr/share/man/man6/$page.6.gz" 2>&1 >/dev/null)
    [[ -z $warnings ]] || fail "man $page: $warnings"
done

echo "== Hardening and stripping"
for program in "$usr/games/zorvik" "$usr/bin/zorvik-editor"; do
    name=${program##*/}
    readelf -h "$program" | grep -q 'Type:.*DYN' || fail "$name is not position-independent"
    readelf -lW "$program" | grep -q GNU_RELRO || fail "$name has no RELRO segment"
    readelf -dW "$program" | grep -qE 'BIND_NOW|FLAGS.*\bNOW\b' || fail "$name is not bound now"
    symbols=$(readelf --dyn-syms -W "$program")
    grep -q __stack_chk_fail <<<"$symbols" || fail "$name has no stack protector"
    grep -qE '__[a-z_]+_chk@' <<<"$symbols" || fail "$name has no fortified calls"
    ! readelf -SW "$program" | grep -qE '\.symtab|\.debug_' || fail "$name is not stripped"
    echo "$name: PIE, full RELRO, stack protector, fortified, stripped"
done
if command -v hardening-check >/dev/null; then
    hardening-check "$usr/games/zorvik" "$usr/bin/zorvik-editor"
fi

# A tiny level: the player starts in column 5, row 3, right above the level exit; ground in
# row 5. Space held (ZORVIK_HOLD_KEYS) passes the intro card; the fall ends the run.
level=$work/tiny
mkdir -p "$level"
layer() {  # layer ROW:COL:VALUE...
    local r c value
    for ((r = 1; r <= 18; r++)); do
        for ((c = 1; c <= 50; c++)); do
            value=0
            for cell in "$@"; do
                [[ $cell == "$r:$c:"* ]] && value=${cell##*:}
                [[ $cell == "$r:*:"* ]] && value=${cell##*:}
            done
            printf '%3d' "$value"
        done
        printf '\r\n'
    done
}
layer "5:*:1" >"$level/tiny.map"
layer "5:*:1" >"$level/tiny.map.1"
layer "3:5:999" "4:5:997" >"$level/tiny.map.2"
chmod -R a+rX "$level"
cp "$build/tests/game_tests" "$work/game_tests"
chmod 755 "$work/game_tests"

# Everything under a prefix: path, mode, owner, size, modification time and checksum.
snapshot() {
    (cd "$1" && find . -printf '%p %m %U:%G %s %T@\n' | LC_ALL=C sort &&
        find . -type f -print0 | LC_ALL=C sort -z | xargs -0 sha256sum)
}

# run_installed PREFIX WHO RUNNER...: runs the installed programs under PREFIX through RUNNER
# (a command prefix that runs as WHO) with a fresh home, and checks that PREFIX stays as it was.
run_installed() {
    local prefix=$1 who=$2
    shift 2
    local -a as_user=("$@")
    local home=$work/home-$who
    mkdir -p "$home" "$home-entry"
    chown "$(id -u "$who")" "$home" "$home-entry"
    snapshot "$prefix" >"$work/before-$who"
    local -a run=("${as_user[@]}" env -i PATH=/usr/bin:/bin HOME="$home" SDL_VIDEODRIVER=offscreen
                  SDL_AUDIODRIVER=dummy QT_QPA_PLATFORM=offscreen)

    local game_version editor_version status
    game_version=$("${run[@]}" "$prefix/games/zorvik" --version)
    editor_version=$("${run[@]}" timeout 20 "$prefix/bin/zorvik-editor" --version)
    [[ $game_version == "zorvik "* && $editor_version == "zorvik-editor "* ]] ||
        fail "$who: --version printed '$game_version' and '$editor_version'"
    "${run[@]}" ZORVIK_HOLD_KEYS=Space timeout 60 "$prefix/games/zorvik" --level "$level/tiny.map" ||
        fail "$who: test-play of the tiny level did not end by itself with status 0"
    status=0
    "${run[@]}" "$prefix/games/zorvik" --level "$level/none.map" 2>/dev/null || status=$?
    ((status == 2)) || fail "$who: a missing map set gave status $status, not 2"
    # The whole game, from the title on, ended as the desktop ends it.
    status=0
    "${run[@]}" ZORVIK_HOLD_KEYS=Space timeout --preserve-status -s INT 4 "$prefix/games/zorvik" ||
        status=$?
    ((status == 0)) || fail "$who: the game ended by SIGINT with status $status"
    test -f "$home/.local/share/zorvik/012.dat" ||
        fail "$who: the game did not keep its high-score table in \$HOME/.local/share/zorvik"
    # The editor with a shipped level, ended as the desktop ends it.
    status=0
    "${run[@]}" timeout --preserve-status -s TERM 4 "$prefix/bin/zorvik-editor" \
        "$prefix/share/zorvik/map/mapa1.map" || status=$?
    ((status == 0 || status == 143)) || fail "$who: the editor ended with status $status"
    # A name entry on the installed data, as this user with a fresh home.
    "${as_user[@]}" env -i PATH=/usr/bin:/bin HOME="$home-entry" \
        ZORVIK_TEST_READONLY_DATA="$prefix/share/zorvik" \
        "$work/game_tests" --gtest_filter='UserData.NameEntry*' --gtest_brief=1 >/dev/null ||
        fail "$who: the name entry test failed"
    cmp -s "$home-entry/.local/share/zorvik/012.dat" "$prefix/share/zorvik/data/012.dat" &&
        fail "$who: the name entry was not saved in the user's folder"

    snapshot "$prefix" >"$work/after-$who"
    diff -u "$work/before-$who" "$work/after-$who" >&2 ||
        fail "$who: running the installed programs changed files under $prefix"
    echo "$who: $game_version, $editor_version; test-play, game, editor and name entry ran;" \
        "scores in \$HOME/.local/share/zorvik; nothing under the prefix changed"
}

echo "== The unpacked packages as a normal user"
if [[ $(id -u) -eq 0 ]]; then
    run_installed "$usr" "$player" runuser -u "$player" --
    echo "== cmake --install into a fresh prefix, run as root"
    cmake --install "$build/packaging" --prefix "$work/prefix" >/dev/null
    run_installed "$work/prefix" root
else
    run_installed "$usr" "$player"
    echo "(not root: the run as root is left out)"
fi
echo "package check passed"
