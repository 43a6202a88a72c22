#!/usr/bin/env bash
# The headless demo of the Linux program: a private Xvfb with a compositing
# manager, another X program (xev) clicked into, stars caught and one dragged,
# and a screenshot. It waits on what tovik2 says of itself (TOVIK2_STATUS),
# never on fixed times, and ends only the processes it started.
#   bash scripts/linux-demo.sh PATH/TO/tovik2 OUT.png
set -euo pipefail
program=$1
out=$2
work=$(mktemp -d)
pids=()
cleanup() {
  for (( i=${#pids[@]}-1; i>=0; i-- )); do kill "${pids[i]}" 2>/dev/null || true; done
  for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

# A display number of its own: Xvfb names the one it took.
mkfifo "$work/display"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
pids+=($!)
read -r -t 10 number <"$work/display" || { echo "demo: Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$number"
xcompmgr >/dev/null 2>&1 &
pids+=($!)

ask() {  # ask COMMAND: the status answer's text
  python3 - "$work/status" "$1" <<'PY'
import socket, sys
s = socket.socket(socket.AF_UNIX)
s.connect(sys.argv[1])
s.sendall(sys.argv[2].encode() + b"\n")
data = b""
while chunk := s.recv(4096):
    data += chunk
print(data.decode(), end="")
PY
}
figure() { ask status | tr ' ' '\n' | sed -n "s/^$1=//p"; }
wait_until() {  # wait_until SECONDS COMMAND...
  local deadline=$((SECONDS + $1)); shift
  until "$@" 2>/dev/null; do
    [ $SECONDS -lt $deadline ] || return 1
    sleep 0.05
  done
}
at_least() { [ "$(figure "$1")" -ge "$2" ]; }

xev -geometry 600x450+150+120 >/dev/null &
pids+=($!)
TOVIK2_STATUS="$work/status" XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work" "$program" &
tovik=$!
pids+=($tovik)
wait_until 20 test -S "$work/status" || { echo "demo: tovik2 did not start" >&2; exit 1; }
wait_until 10 at_least compositor 1 || true

for point in "300 300" "450 260" "380 400"; do
  xdotool mousemove ${point% *} ${point#* } click 1
done
wait_until 10 at_least shown 1 || { echo "demo: no star came" >&2; exit 1; }

# Catch two shown stars, then drag the last one a little.
caught=0
for attempt in 1 2 3 4 5 6; do
  line=$(ask stars | grep "shown=1 grabbed=0" | head -1) || true
  [ -n "$line" ] || break
  x=$(sed -n 's/.* x=\(-\?[0-9]*\) .*/\1/p' <<<"$line"); y=$(sed -n 's/.* y=\(-\?[0-9]*\) .*/\1/p' <<<"$line")
  w=$(sed -n 's/.* w=\([0-9]*\) .*/\1/p' <<<"$line"); h=$(sed -n 's/.* h=\([0-9]*\) .*/\1/p' <<<"$line")
  cx=$((x + w / 2)); cy=$((y + h / 2))
  xdotool mousemove "$cx" "$cy" mousedown 1
  if wait_until 2 at_least grabbed $((caught + 1)); then
    caught=$((caught + 1))
    xdotool mousemove $((cx + 40)) $((cy + 30)) mouseup 1
  else
    xdotool mouseup 1
  fi
  [ $caught -lt 2 ] || break
done

# A last burst, photographed in flight.
xdotool mousemove 520 330 click 1
wait_until 5 at_least flying 1 || true
mkdir -p "$(dirname "$out")"
import -window root "$out"
kill -TERM "$tovik"
wait "$tovik" || { echo "demo: tovik2 did not end cleanly" >&2; exit 1; }
echo "demo: $caught stars caught"
