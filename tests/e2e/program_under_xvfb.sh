#!/usr/bin/env bash
# The real program in a fresh application folder under a virtual X server, against the simulator:
# waits until its list shows games, takes a screenshot, ends it with SIGTERM and checks that the
# four list files were written with the window bounds.
# Usage: program_under_xvfb.sh QUINTOR_BINARY SIMULATOR_BINARY OUTPUT_FOLDER
set -euo pipefail

# shellcheck source=../support/e2e.sh
source "$(dirname "${BASH_SOURCE[0]}")/../support/e2e.sh"

if [ "${1:-}" = "--inside" ]; then
  work=$2 out=$3
  cd "$work/app"
  ./quintor >"$work/quintor.log" 2>&1 &
  pid=$!
  alive() { kill -0 "$pid" 2>/dev/null || fail "quintor ended early: $(cat "$work/quintor.log")"; }
  window_shown() { alive; xwininfo -root -tree | grep -q '"Quintor Velmar"'; }
  wait_until 30 "the main window" window_shown
  wait_until 30 "the list to show games" list_filled
  import -window root "$out/program-under-xvfb.png"
  kill -TERM "$pid"
  status=0
  wait "$pid" || status=$?
  [ "$status" -eq 0 ] || fail "quintor ended with $status after SIGTERM: $(cat "$work/quintor.log")"
  exit 0
fi

quintor=$1 sim=$2 out=$3
require_tools xvfb-run xwininfo import identify

make_work_folder

start_simulator "$sim" "$work"

# The program's folder is the application folder: a copy of the executable and its lists.
mkdir "$work/app"
cp "$quintor" "$work/app/quintor"
: >"$work/app/Clonk.exe" # the game is found in the program's folder: no folder browser at start-up
printf '%s/league/server\r\n' "$url" >"$work/app/server.txt"
# The update check is not under test here, whatever address this build was given.
printf 'Column1=Status\r\nColumn2=Spieler\r\nnoupdater=true\r\n' >"$work/app/config.txt"

xvfb-run -a -n $((100 + RANDOM % 800)) -s "-screen 0 800x600x24" bash "$0" --inside "$work" "$out"

app=$work/app
for f in config.txt server.txt syno.txt log.txt; do [ -f "$app/$f" ] || fail "$f was not written"; done
for key in width height top left; do
  grep -q "^$key=[0-9][0-9]*"$'\r'"\$" "$app/config.txt" || fail "config.txt has no $key: $(cat -A "$app/config.txt")"
done
grep -q '^Column1=Status'$'\r''$' "$app/config.txt" || fail "config.txt lost its columns"
[ "$(cat "$app/server.txt")" = "$(printf '%s/league/server\r' "$url")" ] || fail "server.txt changed"
echo "PASS: listed the simulator's games, screenshot in $out/program-under-xvfb.png, lists written"
