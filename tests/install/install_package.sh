#!/usr/bin/env bash
# The Debian package as a player gets it: builds it with cpack, unpacks it into a temporary root and
# checks its control fields and files; then starts the installed program twice under a virtual X
# server with a fresh home: on first start (the per-user data folder does not exist yet) and with
# files moved in from a portable folder, listing the simulator's games. Each time it is ended with
# SIGTERM, as the desktop session ends it at log-out, and must end cleanly, keeping its files in
# ~/.local/share/quintor/ and writing nothing beside the installed program.
# Usage: install_package.sh BUILD_DIR SOURCE_DIR SIMULATOR_BINARY VERSION
set -euo pipefail

# shellcheck source=../support/e2e.sh
source "$(dirname "${BASH_SOURCE[0]}")/../support/e2e.sh"

# Runs under xvfb-run: starts the installed program with the given home, waits for its main window and
# then for what it should show ("games": listed games; "dialog": a second window of the program, a
# dialog that it waits on), ends it with SIGTERM and expects it to end with status 0.
if [ "${1:-}" = "--inside" ]; then
  program=$2 home=$3 cwd=$4 expect=$5
  log=$home/../quintor-$(basename "$home").log
  cd "$cwd"
  env -u XDG_DATA_HOME -u XDG_CONFIG_HOME -u XDG_CACHE_HOME -u XDG_RUNTIME_DIR HOME="$home" "$program" >"$log" 2>&1 &
  pid=$!
  alive() { kill -0 "$pid" 2>/dev/null || fail "the installed quintor ended early: $(cat "$log")"; }
  window_shown() { alive; xwininfo -root -tree | grep -q '"Quintor Velmar"'; }
  wait_until 30 "the main window" window_shown
  # Any window of the program (by its WM_CLASS) other than the main window.
  dialog_shown() {
    alive
    xwininfo -root -tree | awk '/\("quintor" / && !/"Quintor Velmar": \(/ { found = 1 } END { exit !found }'
  }
  case $expect in
    games) wait_until 30 "the list to show games" list_filled ;;
    dialog) wait_until 30 "a dialog of the program" dialog_shown ;;
    *) fail "unknown expectation $expect" ;;
  esac
  kill -TERM "$pid"
  ended() { ! kill -0 "$pid" 2>/dev/null; }
  wait_until 30 "the installed quintor to end after SIGTERM" ended
  status=0
  wait "$pid" || status=$?
  [ "$status" -eq 0 ] || fail "the installed quintor ended with $status after SIGTERM: $(cat "$log")"
  exit 0
fi

build=$1 src=$2 sim=$3 version=$4
require_tools cpack dpkg-deb readelf ldd dpkg-query xvfb-run xwininfo import identify

make_work_folder

# --- the package ---------------------------------------------------------------------------------
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/pkg" >"$work/cpack.log" 2>&1 ||
  fail "cpack failed: $(cat "$work/cpack.log")"
debs=("$work"/pkg/quintor_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "cpack made no single quintor .deb: $(ls "$work/pkg")"
deb=${debs[0]}

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = quintor ] || fail "Package is '$(field Package)'"
[ "$(field Version)" = "$version-1" ] || fail "Version is '$(field Version)', the project's is $version"
[ "$(field Section)" = games ] || fail "Section is '$(field Section)'"
[[ "$(field Maintainer)" == *"<"*"@"*">" ]] || fail "Maintainer '$(field Maintainer)' has no address"
[[ "$(field Description)" == "monitor for the online games of Clonk Rage"* ]] || fail "Description: $(field Description)"
# Depends as a list of bare package names, without versions or alternatives.
depends=$(field Depends | tr ',|' '\n\n' | sed 's/(.*)//; s/^ *//; s/ *$//' | sed '/^$/d' | sort -u)
for p in libqt6widgets6 libqt6gui6 libqt6core6 libqt6multimedia6 libqt6charts6 libqt6svg6 qt6-qpa-plugins libcurl4; do
  grep -qx "$p" <<<"$depends" || fail "Depends lacks $p: $(field Depends)"
done

root=$work/root
dpkg-deb -x "$deb" "$root"
dpkg-deb -c "$deb" >"$work/contents.txt"
grep -q '\./etc/' "$work/contents.txt" && fail "the package puts files under /etc (autostart is the user's choice)"

# The Debian package that owns a file; with merged /usr a library may be registered under /lib or /usr/lib.
package_of() {
  local real candidate owner
  real=$(readlink -f "$1")
  for candidate in "$1" "$real" "${real#/usr}" "/usr$1"; do
    owner=$(dpkg-query -S "$candidate" 2>/dev/null) || continue
    echo "${owner%%:*}"
    return 0
  done
  return 1
}

for program in quintor quintor-reflist; do
  [ -x "$root/usr/bin/$program" ] || fail "usr/bin/$program is missing or not executable"
  # Every library the program links comes from a package it depends on.
  while read -r lib; do
    path=$(ldd "$root/usr/bin/$program" | awk -v l="$lib" '$1 == l { print $3 }')
    [ -n "$path" ] && [ -e "$path" ] || fail "$program needs $lib, which is not found"
    owner=$(package_of "$path") || fail "$lib ($path) belongs to no Debian package"
    grep -qx "$owner" <<<"$depends" || fail "$program needs $lib from $owner, which Depends does not name"
  done < <(readelf -d "$root/usr/bin/$program" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p')
done

desktop=$root/usr/share/applications/quintor.desktop
[ -f "$desktop" ] || fail "no usr/share/applications/quintor.desktop"
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$desktop" || fail "desktop-file-validate rejects the desktop entry"
else
  echo "note: desktop-file-validate is not installed; checking the entry's keys only"
fi
for line in '\[Desktop Entry\]' 'Type=Application' 'Exec=quintor' 'Icon=quintor' 'Categories=.*Game;.*' 'Name=..*' \
  'Comment=..*'; do
  grep -qx "$line" "$desktop" || fail "the desktop entry has no line $line"
done

catalog=$root/usr/share/locale/en/LC_MESSAGES/quintor.mo
[ -f "$catalog" ] || fail "no usr/share/locale/en/LC_MESSAGES/quintor.mo (the English texts)"
cmp -s "$catalog" "$build/locale/en/LC_MESSAGES/quintor.mo" || fail "the installed catalog is not the build's"

icons=$root/usr/share/icons/hicolor
cmp -s "$icons/scalable/apps/quintor.svg" "$src/resources/icons/quintor.svg" || fail "the scalable icon is not the project's SVG"
for size in 16 32 48 64 128 256; do
  png=$icons/${size}x${size}/apps/quintor.png
  [ -f "$png" ] || fail "no ${size}x${size} icon"
  [ "$(identify -format '%m %wx%h' "$png")" = "PNG ${size}x${size}" ] ||
    fail "${size}x${size}/apps/quintor.png is $(identify -format '%m %wx%h' "$png")"
done

# The inspection tool runs from the package.
"$root/usr/bin/quintor-reflist" --appdir "$work" "$src/samples/sample-reply.txt" >"$work/reflist.json" ||
  fail "the installed quintor-reflist failed"
head -c 1 "$work/reflist.json" | grep -q '{' || fail "quintor-reflist printed no JSON object"

# --- the installed program -----------------------------------------------------------------------
start_simulator "$sim" "$work"

mkdir "$work/cwd"
ls -A "$root/usr/bin" >"$work/bin-before.txt"

nothing_beside() {
  [ -z "$(ls -A "$work/cwd")" ] || fail "the program wrote into its working folder: $(ls -A "$work/cwd")"
  ls -A "$root/usr/bin" | cmp -s - "$work/bin-before.txt" || fail "the program wrote beside itself: $(ls -A "$root/usr/bin")"
}

# First start with nothing at all: the per-user data folder is created, and the program is ended by
# SIGTERM while it waits on the first dialog it shows (for a game folder, or about a masterserver it
# cannot reach), as a session may end. Any request goes through a proxy on a closed port (libcurl
# honours http_proxy), so the run never depends on the outside network.
mkdir "$work/first"
xvfb-run -a -s "-screen 0 800x600x24" env -u no_proxy -u NO_PROXY http_proxy="http://127.0.0.1:1" \
  bash "$0" --inside "$root/usr/bin/quintor" "$work/first" "$work/cwd" dialog
[ -d "$work/first/.local/share/quintor" ] || fail "the first start made no ~/.local/share/quintor/"
nothing_beside

# Files moved in from a portable folder are used (the simulator's games are listed), and at the end
# the four list files are written there, the window bounds included.
data=$work/moved/.local/share/quintor
game=$work/moved/games/Clonk\ Rage
mkdir -p "$data" "$game"
: >"$game/Clonk.exe"
printf '%s/league/server\r\n' "$url" >"$data/server.txt"
printf 'crdir=%s/\r\nColumn1=Status\r\nColumn2=Spieler\r\n' "$game" >"$data/config.txt"
xvfb-run -a -s "-screen 0 800x600x24" bash "$0" --inside "$root/usr/bin/quintor" "$work/moved" "$work/cwd" games
for f in config.txt server.txt syno.txt log.txt; do [ -f "$data/$f" ] || fail "$f was not written in $data"; done
for key in width height top left; do
  grep -q "^$key=[0-9][0-9]*"$'\r'"\$" "$data/config.txt" || fail "config.txt has no $key: $(cat -A "$data/config.txt")"
done
grep -qx "crdir=$game/"$'\r' "$data/config.txt" || fail "config.txt lost the game folder: $(cat -A "$data/config.txt")"
[ "$(cat "$data/server.txt")" = "$(printf '%s/league/server\r' "$url")" ] || fail "server.txt changed"
nothing_beside

echo "PASS: $(basename "$deb") ($(wc -l <"$work/contents.txt") entries) installs, starts from /usr/bin with" \
  "its files in ~/.local/share/quintor/ and ends cleanly on SIGTERM"
