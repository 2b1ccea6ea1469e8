#!/usr/bin/env bash
# Builds the Debian package from a finished build folder (default ./build), checks its desktop
# entries and metainfo, unpacks it into a temporary root with dpkg-deb -x and runs it there as a
# normal user (created as "zorvik-check" when run as root) with SDL's offscreen video, dummy
# audio and Qt's offscreen platform: both programs' --version, test-play of a tiny level that
# ends by itself, and a name entry that must land in that user's XDG data folder.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
build=${1:-build}

(cd "$build" && rm -f zorvik_*.deb && cpack -G DEB >/dev/null)
deb=$(ls "$build"/zorvik_*_amd64.deb)
echo "package: $deb ($(stat -c %s "$deb") bytes)"
dpkg-deb -f "$deb" Depends

work=$(mktemp -d /tmp/zorvik-package-XXXXXX)
trap 'rm -rf "$work"' EXIT
chmod 755 "$work"
root=$work/root
dpkg-deb -x "$deb" "$root"
test -x "$root/usr/bin/zorvik" -a -x "$root/usr/bin/zorvik-editor"
test -f "$root/usr/share/zorvik/data/012.dat" -a -f "$root/usr/share/zorvik/ 005.dat"
test -f "$root/usr/share/zorvik/map/mapa1.map"
ls "$root"/usr/share/icons/hicolor/*/apps/cz.zorvik.Zorvik.png >/dev/null
ls "$root"/usr/share/icons/hicolor/*/apps/cz.zorvik.Editor.png >/dev/null
desktop-file-validate "$root"/usr/share/applications/*.desktop
appstreamcli validate --no-net "$root"/usr/share/metainfo/cz.zorvik.Zorvik.metainfo.xml

# The player: never root, whose home is a fresh folder.
home=$work/home
mkdir -p "$home"
if [[ $(id -u) -eq 0 ]]; then
    user=zorvik-check
    id -u "$user" >/dev/null 2>&1 || useradd --no-create-home --shell /usr/sbin/nologin "$user"
    chown "$user" "$home"
    as_player() { runuser -u "$user" -- "$@"; }
else
    as_player() { "$@"; }
fi
player_env=(env -i PATH=/usr/bin:/bin HOME="$home" SDL_VIDEODRIVER=offscreen
            SDL_AUDIODRIVER=dummy QT_QPA_PLATFORM=offscreen)

version=$(as_player "${player_env[@]}" "$root/usr/bin/zorvik" --version)
echo "$version"
[[ $version == "zorvik "* ]]
editor_version=$(as_player "${player_env[@]}" timeout 20 "$root/usr/bin/zorvik-editor" --version)
echo "$editor_version"
[[ $editor_version == "zorvik-editor "* ]]

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
as_player "${player_env[@]}" ZORVIK_HOLD_KEYS=Space timeout 60 \
    "$root/usr/bin/zorvik" --level "$level/tiny.map"
echo "test-play of a tiny level ended by itself with status 0"
status=0
as_player "${player_env[@]}" "$root/usr/bin/zorvik" --level "$level/none.map" 2>/dev/null || status=$?
[[ $status -eq 2 ]]

# The name entry, headless, on the unpacked game: the table must go to the player's folder.
cp "$build/tests/game_tests" "$work/game_tests"
chmod 755 "$work/game_tests"
as_player "${player_env[@]}" ZORVIK_TEST_READONLY_DATA="$root/usr/share/zorvik" \
    "$work/game_tests" --gtest_filter='UserData.*' --gtest_brief=1
table=$home/.local/share/zorvik/012.dat
test -f "$table"
if cmp -s "$table" "$root/usr/share/zorvik/data/012.dat"; then
    echo "the player's table was not written" >&2
    exit 1
fi
echo "high-score table written to \$HOME/.local/share/zorvik/012.dat"
echo "package check passed"
