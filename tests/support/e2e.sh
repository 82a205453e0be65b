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
