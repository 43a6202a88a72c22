# Input into another Wine program reaches the hook library, which reports it to
# the program's side: clicks with their screen point, releases with the window
# under them, fast movement only, and key presses just below the text caret
# (Enter only, then every key). The program's side is hook_host, which loads
# nivlet2.dll through LoadHookLibrary and prints the messages it receives.
# Then floods of fast moves into the other program, with a slow program's
# side and with Tovik2 itself, must never hold that program's input thread;
# a program named in EXCLUDE gets no stars, the other program still does;
# and Tovik2 started from a folder whose path lies outside the ANSI code page
# and is longer than 259 characters loads its library, or says it can't.

cp "$E2E_TOOLS/hook_host.exe" "$E2E_PROGRAM/"
target_log=$E2E_WORK/target.log

# log_of FILE: the file without Windows line ends.
log_of() { tr -d '\r' < "$1"; }
# logged FILE LINE: FILE holds exactly this line.
logged() { log_of "$1" | grep -qx "$2"; }
count_of() { log_of "$1" | grep -c "$2" || true; }

start_host() {  # start_host NAME CLICK MOVE KEY ENTER
  local log=$E2E_WORK/$1.log; shift
  rm -f "$log"  # not an earlier host's lines (see watch_stars)
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

# flood: a sweep across the target, ending in its corner, away from the
# flood's stars, at a point of its own.
fy=$((top + 150))
floods=0
flood() {
  floods=$((floods + 1))
  sweep_target $((left + 40)) "$fy" $((left + 380 - floods)) $((top + 285))
}
figure() { echo "$1" | sed -n "s/.*$2=\([0-9]*\).*/\1/p"; }

# A flood with no program's side at all, for comparison.
move_to $((left + 40)) "$fy"
target_figures >/dev/null
flood
echo "e2e: flood, no hooks: $(target_figures)"

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
xdotool windowfocus --sync "$(x_window_named '^hook target$')"
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

# The program's side takes 300 ms for each move, as slow star making might:
# the moves are posted, so the target's input thread never waits for it. A
# send would hold the target 300 ms for each reported move.
start_host slow 1 1 0 0 300
move_to $((left + 40)) "$fy"
target_figures >/dev/null
flood
report=$(target_figures)
echo "e2e: flood, slow program side: $report"
(( $(figure "$report" calls) >= 30 )) || fail "the flood reached the target as too few messages to time: $report"
(( $(figure "$report" max_us) < 100000 )) || fail "the hook held the target's input thread: $report"
wait_until 10 eval '[ "$(count_of "$HOST_LOG" "^move ")" -gt 0 ]' || fail "the flood reported no move: $(log_of "$HOST_LOG")"
stop_host

# Tovik2 itself, started after hook_host ended while the target still has the
# library loaded: the target's moves make stars, and star making never holds it.
write_ini MOUSECLICK=1 MOUSEMOVE=1 KEYENTRY=0
start_tovik_ready
target_figures >/dev/null
watch_stars
flood
watch_result
stars=$(watched_count)
report=$(target_figures)
echo "e2e: flood, Tovik2: $report stars=$stars"
(( stars > 0 )) || fail "the floods made no stars: $WATCH_REPORT"
(( $(figure "$report" calls) >= 30 )) || fail "the floods reached the target as too few messages to time: $report"
# The machine is shared, so one slow call may be the scheduler's; most are not.
(( $(figure "$report" p95_us) < 20000 )) || fail "star making held the target's input thread: $report"
wait_until 10 stars_rested || fail "the flood's stars did not rest"
stop_tovik

# A program named in EXCLUDE (a copy of the target under another name) gets
# no stars from its clicks, while the target's clicks still make them. With
# FULLSCREENPAUSE=0 the target's clicks make stars while it is full screen
# in front too.
start_target left_alone.exe 700 500
write_ini MOUSECLICK=1 MOUSEMOVE=0 KEYENTRY=0 FULLSCREENPAUSE=0 "EXCLUDE=other.exe; LEFT_ALONE.EXE"
start_tovik_ready
wake_target "$E2E_WORK/left_alone.log" 900 700
# stars_of_click X Y LOG: how many stars one click at the point showed,
# taken by the program logging to LOG.
stars_of_click() {
  watch_stars
  click_target "$1" "$2" "$3"
  watch_result
  watched_count
}
last_watch() { tr -d '\r' < "$E2E_WORK/watch.log"; }
(( $(stars_of_click 900 720 "$E2E_WORK/left_alone.log") == 0 )) || fail "a click in the excluded program made stars: $(last_watch)"
(( $(stars_of_click $((left + 200)) $((top + 220)) "$target_log") > 0 )) || fail "a click in the target made no stars: $(last_watch)"
wait_until 10 stars_rested || fail "the click's stars did not rest"
(( $(stars_of_click 900 740 "$E2E_WORK/left_alone.log") == 0 )) || fail "a second click in the excluded program made stars: $(last_watch)"
target_full_screen "$target" 1 0
wait_until 5 eval 'probe foreground | grep -q "^hwnd=$target "' || fail "the full-screen target is not in front: $(probe foreground)"
(( $(stars_of_click 640 700 "$target_log") > 0 )) || fail "with FULLSCREENPAUSE=0 a click in the full-screen target made no stars: $(last_watch)"
target_full_screen "$target" 0 0
wait_until 10 stars_rested || fail "the click's stars did not rest"
stop_tovik

# start_tovik_in FOLDER: starts Tovik2.exe from the folder in the background.
start_tovik_in() {
  (cd "$1" && exec wine Tovik2.exe) &
  TOVIK_PID=$!
  _e2e_pids+=("$TOVIK_PID")
}
no_hooks_text="nivlet2.dll を読み込めないか、フックを設定できませんでした。"
# The settings file's path is in the ANSI code page too: from a folder it
# cannot spell, the settings cannot be saved, and the user hears that as well.
unsaved_text="設定を保存できませんでした。"
# answer_boxes: answers every message box of the program until it has its
# main window and tells nothing more (box_or_quiet), and prints the first
# line of each text once. The second box opens inside the first one's loop,
# so each shown box is answered.
answer_boxes() {
  local line
  {
    while box_or_quiet; do
      while read -r line; do
        echo "$line" | sed -n 's/.* text=//p'
        probe command "$(sed -n 's/^hwnd=\(0x[0-9a-f]*\).*/\1/p' <<<"$line")" 1 >/dev/null
      done < <(message_box)
    done
  } | sort -u
}
# answer_unsaved: answers the message that the settings were not saved, if it comes.
answer_unsaved() {
  local texts
  texts=$(answer_boxes)
  [ -z "$texts" ] || [ "$(grep -cv "^$unsaved_text" <<<"$texts")" = 0 ] || fail "a message came: $texts"
}

# click_makes_stars: a click into the target makes stars.
click_makes_stars() {
  tovik_ready
  watch_stars
  click_target $((left + 200)) $((top + 220))
  watch_result
  (( $(watched_count) > 0 )) || fail "a click from $1 made no stars: $WATCH_REPORT"
  wait_until 10 stars_rested || fail "the click's stars did not rest"
}

# A folder whose name holds characters outside code page 932. Without the
# library beside it Tovik2 says so, once; with it, clicks make stars.
odd=$E2E_WORK/星ü🌟
mkdir -p "$odd"
cp "$E2E_PROGRAM/Tovik2.exe" "$odd/"
start_tovik_in "$odd"
wait_until 30 has_message_box || fail "no message box came"
texts=$(answer_boxes)
grep -q "^$no_hooks_text" <<<"$texts" || fail "the missing library's message reads: $texts"
[ "$(grep -cv "^$no_hooks_text\|^$unsaved_text" <<<"$texts")" = 0 ] || fail "another message came: $texts"
wait_until 20 has_window Pipwink2 || fail "no main window after the message"
! has_message_box || fail "the missing library was reported twice"
stop_tovik
cp "$E2E_PROGRAM/nivlet2.dll" "$odd/"
start_tovik_in "$odd"
wait_until 20 has_window Pipwink2 || fail "no main window from the folder outside the code page"
answer_unsaved
click_makes_stars "the folder outside the code page"
! has_message_box || fail "a message came: $(message_box)"
stop_tovik

# A path longer than 259 characters: the library loads; a global hook's
# library in such a folder may not be accepted by the system (Wine here
# refuses it), and then the user is told, not left without reactions.
long=$odd/$(printf 'a%.0s' $(seq 120))/$(printf 'b%.0s' $(seq 120))
mkdir -p "$long"
cp "$E2E_PROGRAM/Tovik2.exe" "$E2E_PROGRAM/nivlet2.dll" "$long/"
start_tovik_in "$long"
wait_until 20 has_window Pipwink2 || fail "no main window from the long folder"
if box_or_quiet; then
  texts=$(answer_boxes)
  [ "$(grep -cv "^$no_hooks_text\|^$unsaved_text" <<<"$texts")" = 0 ] || fail "the long folder's message reads: $texts"
  if grep -q "^$no_hooks_text" <<<"$texts"; then
    echo "e2e: from a path of more than 259 characters the hooks are refused, and the user is told"
  else
    click_makes_stars "the long folder"
  fi
else
  click_makes_stars "the long folder"
fi
stop_tovik

probe close Tovik2HookTarget >/dev/null
