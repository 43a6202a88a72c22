# Helpers for the end-to-end scenarios (sourced by run_scenario.sh).

_e2e_pids=()

fail() { echo "e2e FAILED: $*" >&2; exit 1; }

# probe ARGS...: runs the probe program in the Wine session.
probe() { wine "$E2E_WORK/probe.exe" "$@" | tr -d '\r'; }

# wait_until SECONDS COMMAND...: polls COMMAND until it succeeds; fails after the deadline.
wait_until() {
  local seconds=$1; shift
  local deadline=$((SECONDS + seconds))
  until "$@"; do
    [ $SECONDS -lt $deadline ] || return 1
    sleep 0.2
  done
}

# start_tovik: starts Tovik2.exe from the scenario's program folder in the background.
start_tovik() {
  (cd "$E2E_PROGRAM" && exec wine Tovik2.exe) &
  TOVIK_PID=$!
  _e2e_pids+=("$TOVIK_PID")
}

# windows_of CLASS: the probe's lines for the top-level windows of a class.
windows_of() { probe list "$1"; }
has_window() { [ -n "$(windows_of "$1")" ]; }
has_no_window() { [ -z "$(windows_of "$1")" ]; }

# process_gone PID
process_gone() { ! kill -0 "$1" 2>/dev/null; }

# screenshot NAME: the whole virtual screen as NAME.png among the artifacts.
screenshot() { import -window root "$E2E_ARTIFACTS/$1.png" 2>/dev/null || true; }

e2e_cleanup() {
  local pid
  for pid in "${_e2e_pids[@]}"; do
    kill "$pid" 2>/dev/null || true
  done
}
