#!/usr/bin/env bash
# The real program in the notification area of a virtual X server (trayer provides one), against the
# simulator, with a filter that fires on every game: minimised by the desktop it goes into the tray, the
# filter's balloon is seen there, a double-click on the icon brings the window back, and SIGTERM ends it
# with the four list files written.
# Usage: tray_under_xvfb.sh QUINTOR_BINARY SIMULATOR_BINARY XDRIVE_BINARY OUTPUT_FOLDER
set -euo pipefail

# shellcheck source=../support/e2e.sh
source "$(dirname "${BASH_SOURCE[0]}")/../support/e2e.sh"

if [ "${1:-}" = "--inside" ]; then
  work=$2 out=$3 xdrive=$4
  pid="" trayer_pid=""
  # What the screen and the program's windows looked like when a wait ran out.
  fail() {
    echo "FAIL: $*" >&2
    [ -n "$pid" ] && { echo "windows of quintor:"; "$xdrive" list "$pid"; } >&2
    { echo "trayer $(kill -0 "$trayer_pid" 2>/dev/null && echo running || echo ended), its output: $(cat "$work/trayer.log")"
      echo "windows on the screen:"; xwininfo -root -tree; } >&2 2>/dev/null || true
    import -window root "$out/tray-failure.png" 2>/dev/null || true
    echo "quintor's output: $(cat "$work/quintor.log" 2>/dev/null)" >&2
    exit 1
  }
  start_trayer() {
    trayer --edge top --align right --widthtype request --height 32 --transparent false --tint 0x404040 \
      --SetDockType true --expand false >"$work/trayer.log" 2>&1 &
    trayer_pid=$!
    trayer_starts=$((trayer_starts + 1))
  }
  # A trayer that ended before its panel appeared is started again, twice at most; a busy machine gets a minute.
  trayer_starts=0
  tray_owned() {
    if ! kill -0 "$trayer_pid" 2>/dev/null; then
      [ "$trayer_starts" -lt 3 ] || fail "trayer ended $trayer_starts times before its panel appeared"
      echo "trayer ended before its panel appeared, starting it again: $(tail -n 5 "$work/trayer.log")" >&2
      start_trayer
      return 1
    fi
    "$xdrive" list "$trayer_pid" | grep -q . || xwininfo -root -tree | grep -q -i 'panel'
  }
  start_trayer
  wait_until 60 "the notification area" tray_owned
  sleep 0.5 # the tray selection is taken right after the panel window appears

  cd "$work/app"
  # Without a session bus the icon docks into the X11 notification area that trayer provides. An address that
  # leads nowhere, not an unset one: that would let the bus library start a bus of its own through X11, and a
  # notification daemon installed on the machine would then show the balloon instead of the tray.
  DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent/quintor-no-bus ./quintor >"$work/quintor.log" 2>&1 &
  pid=$!
  alive() { kill -0 "$pid" 2>/dev/null || { pid=""; fail "quintor ended early"; }; }
  windows() { alive; "$xdrive" list "$pid"; }
  main_window() { windows | awk '$3 == "toplevel" && $NF == "Quintor_Velmar" { print $1; exit }'; }
  main_state() { windows | awk -v id="$1" '$1 == id { print $2; exit }'; }
  main_shown() { [ -n "$(main_window)" ] && [ "$(main_state "$(main_window)")" = viewable ]; }
  icon_line() { windows | awk '$2 == "viewable" && $3 == "embedded" { print; exit }'; }
  balloon_line() { windows | awk '$2 == "viewable" && $8 == "_NET_WM_WINDOW_TYPE_TOOLTIP" { print; exit }'; }

  wait_until 30 "the main window" main_shown
  wait_until 30 "the list to show games" list_filled
  import -window root "$out/tray-1-window.png"
  main=$(main_window)

  # Minimised by the desktop: the window goes away and the icon comes into the notification area.
  "$xdrive" iconify "$main"
  main_away() { [ "$(main_state "$main")" != viewable ]; }
  icon_shown() { [ -n "$(icon_line)" ]; }
  wait_until 20 "the window to leave the screen" main_away
  wait_until 20 "the tray icon" icon_shown
  echo "tray icon: $(icon_line)"

  # The refresh goes on in the tray: the next tick's filter raises its balloon at the icon.
  balloon_shown() { [ -n "$(balloon_line)" ]; }
  wait_until 60 "the filter's balloon" balloon_shown
  echo "balloon: $(balloon_line)"
  sleep 0.3 # painted
  import -window root "$out/tray-2-balloon.png"
  main_away || fail "the window came back by itself"

  # A double-click on the icon brings the window back and takes the icon away.
  read -r _ _ _ x y w h _ <<<"$(icon_line)"
  "$xdrive" doubleclick $((x + w / 2)) $((y + h / 2))
  icon_gone() { [ -z "$(icon_line)" ]; }
  wait_until 20 "the window to come back" main_shown
  wait_until 20 "the icon to go" icon_gone
  import -window root "$out/tray-3-back.png"

  kill -TERM "$pid"
  status=0
  wait "$pid" || status=$?
  kill "$trayer_pid" 2>/dev/null || true
  [ "$status" -eq 0 ] || fail "quintor ended with $status after SIGTERM: $(cat "$work/quintor.log")"
  exit 0
fi

quintor=$(realpath "$1") sim=$(realpath "$2") xdrive=$(realpath "$3") out=$(realpath "$4")
require_tools xvfb-run xwininfo import identify trayer

make_work_folder

start_simulator "$sim" "$work"

# The application folder: the program, its server list, the game (so no folder browser is asked) and a
# filter that matches every game: green rows, a balloon and a log line.
app=$work/app
mkdir "$app"
cp "$quintor" "$app/quintor"
: >"$app/Clonk.exe"
printf '%s/league/server\r\n' "$url" >"$app/server.txt"
# The update check is not under test here, whatever address this build was given.
printf 'Column1=Status\r\nColumn2=Spieler\r\nnoupdater=true\r\n' >"$app/config.txt"
printf 'grp0=Alle\r\ngrp0fil0=Jedes Spiel\r\n' >"$app/filter.txt"
printf 'active=True\r\ntyp=0\r\n' >"$app/grp0fil0.txt"
printf 'field0=4\r\nact0=4\r\nedit0=Gr\xfcn\r\nfield1=1\r\nact1=0\r\nedit1=Offen: %%s\r\nfield2=5\r\nact2=0\r\nedit2=Gesehen: %%s\r\n' \
  >"$app/grp0fil0_act.txt"

status=0
xvfb-run -a -n $((100 + RANDOM % 800)) -s "-screen 0 800x600x24" bash "$0" --inside "$work" "$out" "$xdrive" || status=$?
[ "$status" -eq 77 ] && exit 77
[ "$status" -eq 0 ] || exit "$status"

for f in config.txt server.txt syno.txt log.txt; do [ -f "$app/$f" ] || fail "$f was not written"; done
for key in width height top left; do
  grep -q "^$key=-\?[0-9][0-9]*"$'\r'"\$" "$app/config.txt" || fail "config.txt has no $key: $(cat -A "$app/config.txt")"
done
# Ticks: the first when shown, one in the tray (the balloon's), one when shown again.
ticks=$(grep -c '^\[Quintor Velmar 2.02 Beta \[84\] - .* - Filter "Jedes Spiel"\] Gesehen: ' "$app/log.txt" || true)
[ "$ticks" -ge 3 ] || fail "log.txt holds $ticks filter lines: $(cat "$app/log.txt")"
echo "PASS: into the tray, balloon seen, back by double-click, lists written ($ticks log lines); screenshots in $out"
