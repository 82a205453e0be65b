# Shell helpers of the end-to-end scripts (sourced): failing, waiting for a condition, the simulator.

fail() { echo "FAIL: $*" >&2; exit 1; }

# Polls a condition (a shell command) until it holds; fails after the given number of seconds.
wait_until() {
  local seconds=$1 what=$2; shift 2
  local deadline=$((SECONDS + seconds))
  until "$@"; do
    [ "$SECONDS" -lt "$deadline" ] || fail "timed out waiting for $what"
    sleep 0.1
  done
}

# start_simulator BINARY WORK_FOLDER: the masterserver simulator on a free loopback port, its log in
# WORK_FOLDER/sim.log. Sets sim_pid and url (the address of its game list).
start_simulator() {
  "$1" --port 0 --seed 7 --step-seconds 0 >"$2/sim.log" 2>&1 &
  sim_pid=$!
  wait_until 20 "the simulator" grep -qs '^listening on ' "$2/sim.log"
  url=$(sed -n 's/^listening on //p' "$2/sim.log" | head -n 1)
}

# require_tools TOOL...: skips the test (exit 77) when one of the tools is not installed.
require_tools() {
  local tool
  for tool in "$@"; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
  done
}

# make_work_folder: a temporary folder in $work, removed at exit together with a simulator that
# start_simulator started.
make_work_folder() {
  work=$(mktemp -d)
  sim_pid=""
  trap 'cleanup_work_folder' EXIT
}
cleanup_work_folder() {
  [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null && wait "$sim_pid" 2>/dev/null
  rm -rf "$work"
}

# list_filled: true once the game list's body (below its header, at the window's top left) is no
# longer blank. Calls the caller's `alive` first, which fails when the program has ended.
list_filled() {
  alive
  local mean
  mean=$(import -window root -crop 280x120+20+75 +repage png:- 2>/dev/null | identify -format '%[fx:mean]' png:-) ||
    return 1
  awk -v m="$mean" 'BEGIN { exit !(m < 0.98) }'
}
