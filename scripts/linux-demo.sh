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

# Stars fly for a moment only: each click is followed at once by a catch of
# one of its stars, which is then dragged a little; one process does it all,
# so the catch is quick enough.
caught=$(python3 - "$work/status" <<'PY'
import socket, subprocess, sys, time

def ask(command):
    s = socket.socket(socket.AF_UNIX)
    s.connect(sys.argv[1])
    s.sendall(command.encode() + b"\n")
    data = b""
    while chunk := s.recv(4096):
        data += chunk
    return data.decode()

def fields(line):
    return dict(item.split("=", 1) for item in line.split())

caught = 0
for x, y in [(300, 300), (450, 260), (380, 400), (520, 330), (260, 420), (420, 200)]:
    subprocess.run(["xdotool", "mousemove", str(x), str(y), "click", "1"], check=True)
    deadline = time.monotonic() + 2
    while time.monotonic() < deadline:
        shown = [fields(l) for l in ask("stars").splitlines() if "shown=1 grabbed=0" in l]
        if shown:
            break
    if not shown:
        continue
    star = shown[0]
    cx, cy = int(star["x"]) + int(star["w"]) // 2, int(star["y"]) + int(star["h"]) // 2
    subprocess.run(["xdotool", "mousemove", str(cx), str(cy), "mousedown", "1"], check=True)
    deadline = time.monotonic() + 2
    while time.monotonic() < deadline and fields(ask("status").split(" ini=")[0])["grabbed"] == str(caught):
        time.sleep(0.02)
    grabbed = int(fields(ask("status").split(" ini=")[0])["grabbed"]) > caught
    subprocess.run(["xdotool", "mousemove", str(cx + 40), str(cy + 30), "mouseup", "1"], check=True)
    if grabbed:
        caught += 1
    if caught == 2:
        break
print(caught)
PY
)

# A last burst, photographed in flight.
xdotool mousemove 520 330 click 1
wait_until 5 at_least flying 1 || true
mkdir -p "$(dirname "$out")"
import -window root "$out"
kill -TERM "$tovik"
wait "$tovik" || { echo "demo: tovik2 did not end cleanly" >&2; exit 1; }
echo "demo: $caught stars caught"
