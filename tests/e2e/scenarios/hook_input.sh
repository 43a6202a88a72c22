# Input into another Wine program reaches the hook library, which reports it to
# the program's side: clicks with their screen point, releases with the window
# under them, fast movement only, and key presses just below the text caret
# (Enter only, then every key). The program's side is hook_host, which loads
# nivlet2.dll through LoadHookLibrary and prints the messages it receives.

cp "$E2E_TOOLS/hook_host.exe" "$E2E_PROGRAM/"
target_log=$E2E_WORK/target.log

# log_of FILE: the file without Windows line ends.
log_of() { tr -d '\r' < "$1"; }
# logged FILE LINE: FILE holds exactly this line.
logged() { log_of "$1" | grep -qx "$2"; }
count_of() { log_of "$1" | grep -c "$2" || true; }

start_host() {  # start_host NAME CLICK MOVE KEY ENTER
  local log=$E2E_WORK/$1.log; shift
  (cd "$E2E_PROGRAM" && exec wine hook_host.exe "$@" > "$log") &
  HOST_PID=$!
  _e2e_pids+=("$HOST_PID")
  HOST_LOG=$log
  wait_until 20 logged "$HOST_LOG" 'hooks=1' || fail "the host did not install the hooks: $(log_of "$HOST_LOG")"
}

stop_host() {
  probe close Tovik2HookHost >/dev/null
  wait_until 20 process_gone "$HOST_PID" || fail "the host did not end"
}

start_target
read -r target edit rect editrect <<<"$(log_of "$target_log" | grep '^target=')"
target=${target#target=}
edit=${edit#edit=}
IFS=, read -r left top _ _ <<<"${rect#rect=}"
IFS=, read -r eleft etop eright ebottom <<<"${editrect#editrect=}"

# Moves the pointer and waits until the target has taken the movement, so
# that no two movements merge in its queue.
move_to() {
  xdotool mousemove "$1" "$2"
  wait_until 10 logged "$target_log" "mousemove $1 $2" || fail "the target saw no movement to $1 $2"
}

start_host clicks 1 1 1 1

# A click in the target's client area, away from the edit control.
x=$((left + 200)) y=$((top + 200))
move_to "$x" "$y"
xdotool click 1
wait_until 10 logged "$HOST_LOG" "click $x $y" || fail "no click at $x $y: $(log_of "$HOST_LOG")"
wait_until 10 logged "$HOST_LOG" "buttonup $target" || fail "no release in the target window $target: $(log_of "$HOST_LOG")"
[ "$(count_of "$HOST_LOG" '^click ')" = 1 ] || fail "one click gave: $(log_of "$HOST_LOG")"

# Slow steps after a standstill report nothing (but the first, a sudden stop,
# may); steps of 40 pixels report from the second on.
for i in 1 2 3 4 5 6 7 8; do move_to $((x + 2 * i)) "$y"; done
sx=$((x + 16))
for i in 1 2 3 4; do move_to $((sx + 40 * i)) "$y"; done
wait_until 10 logged "$HOST_LOG" "move $((sx + 160)) $y" || fail "no move for the last fast step: $(log_of "$HOST_LOG")"
for i in 2 3 4 5 6 7 8; do
  ! logged "$HOST_LOG" "move $((x + 2 * i)) $y" || fail "a slow step reported a move: $(log_of "$HOST_LOG")"
done
! logged "$HOST_LOG" "move $((sx + 40)) $y" || fail "the first fast step reported a move"
logged "$HOST_LOG" "move $((sx + 80)) $y" || fail "the second fast step reported no move"
logged "$HOST_LOG" "move $((sx + 120)) $y" || fail "the third fast step reported no move"

# Keys: focus the target, then click into the edit control, which takes the caret.
xdotool windowfocus --sync "$(xdotool search --onlyvisible --name '^hook target$' | head -n 1)"
ex=$(((eleft + eright) / 2)) ey=$(((etop + ebottom) / 2))
move_to "$ex" "$ey"
xdotool click 1
wait_until 10 logged "$HOST_LOG" "buttonup $edit" || fail "no release in the edit control: $(log_of "$HOST_LOG")"

# Enter only: letters report nothing; Return reports the caret's point + 8.
xdotool type --delay 50 abc
xdotool key Return
wait_until 10 eval 'log_of "$target_log" | grep -q "^keydown 13 "' || fail "the target saw no Return"
read -r _ _ cx cy <<<"$(log_of "$target_log" | grep '^keydown 13 ' | tail -n 1)"
[ "$cx" != none ] || fail "the target had no caret at Return"
wait_until 10 logged "$HOST_LOG" "key $cx $((cy + 8))" || fail "no key at $cx $((cy + 8)): $(log_of "$HOST_LOG")"
[ "$(count_of "$HOST_LOG" '^key ')" = 1 ] || fail "Enter-only mode reported other keys: $(log_of "$HOST_LOG")"
stop_host

# Every key: each press reports at the caret as the target had it then.
start_host keys 1 0 1 0
before=$(count_of "$target_log" '^keydown ')
xdotool type --delay 50 xy
wait_until 10 eval '[ $(count_of "$target_log" "^keydown ") -ge $((before + 2)) ]' || fail "the target saw no typing"
log_of "$target_log" | grep '^keydown ' | tail -n 2 > "$E2E_WORK/typed.txt"
while read -r _ _ cx cy; do
  [ "$cx" != none ] || fail "the target had no caret while typing"
  wait_until 10 logged "$HOST_LOG" "key $cx $((cy + 8))" || fail "no key at $cx $((cy + 8)): $(log_of "$HOST_LOG")"
done < "$E2E_WORK/typed.txt"
[ "$(count_of "$HOST_LOG" '^key ')" = 2 ] || fail "two presses gave: $(log_of "$HOST_LOG")"
stop_host

probe close Tovik2HookTarget >/dev/null
