# Helpers for the end-to-end scenarios (sourced by run_scenario.sh).

_e2e_pids=()
_e2e_probe_pids=()  # probes watching in the background

fail() { echo "e2e FAILED: $*" >&2; exit 1; }

# probe ARGS...: runs the probe program in the Wine session. Its output goes
# to a file, not a pipe: a Wine process writing into a pipe was seen to keep
# seeing the windows as they were when it started.
probe() {
  local out rc=0
  out=$(mktemp "$E2E_WORK/probe.XXXXXX")
  wine "$E2E_WORK/probe.exe" "$@" > "$out" || rc=$?
  tr -d '\r' < "$out"
  rm -f "$out"
  return $rc
}

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

# all_gone PID...: none of the processes runs.
all_gone() {
  local pid
  for pid in "$@"; do ! kill -0 "$pid" 2>/dev/null || return 1; done
}

e2e_cleanup() {
  local pid alive=()
  # A probe left watching by a failed step would hold ctest's output open
  # until its own end, minutes later.
  for pid in "${_e2e_probe_pids[@]}"; do
    ! grep -qs probe.exe "/proc/$pid/cmdline" || kill "$pid" 2>/dev/null || true
  done
  for pid in "${_e2e_pids[@]}"; do
    kill -0 "$pid" 2>/dev/null && alive+=("$pid")
  done
  if [ ${#alive[@]} -gt 0 ]; then
    # Wine keeps the global hooks of a killed process for the rest of the
    # session, and every hooked program then calls them as well on each
    # input (reporting every move and release more than once): programs left
    # running by a failed scenario are asked to close before they are killed.
    local class
    for class in Pipwink2 Tovik2HookHost Tovik2HookTarget; do
      probe close "$class" >/dev/null 2>&1 || true
    done
    wait_until 15 all_gone "${alive[@]}" || true
  fi
  for pid in "${alive[@]}"; do
    kill "$pid" 2>/dev/null || true
  done
  [ -z "${_e2e_keymap_options+set}" ] || setxkbmap -option "" -option "$_e2e_keymap_options" 2>/dev/null || true
  # The Wine session's boot would start what the Run key names.
  [ -z "${_e2e_run_value+set}" ] || wine reg delete "$run_key" /v Tovik2 /f >/dev/null 2>&1 || true
  # The scaled prefix's session is the scenario's own: it ends with it.
  [ -z "${_e2e_scaled_prefix:-}" ] || WINEPREFIX=$_e2e_scaled_prefix wineserver -k 2>/dev/null || true
}

# use_scaled_prefix DPI: the rest of the scenario runs in a copy of the Wine
# prefix whose display reports DPI dots per inch, as a display scaled to
# DPI / 96 does. The copy is made once, beside the prefix, and kept for later
# runs, whichever lane made it; its session is ended when the scenario ends.
use_scaled_prefix() {
  local copy="${WINEPREFIX%-lane*}-dpi$1"
  if [ ! -f "$copy/.tovik2-dpi" ]; then
    rm -rf "$copy"
    cp -a "$WINEPREFIX" "$copy"
    WINEPREFIX=$copy wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1 ||
      fail "the copied prefix took no DPI"
    WINEPREFIX=$copy wineserver -w
    touch "$copy/.tovik2-dpi"
  fi
  export WINEPREFIX=$copy
  _e2e_scaled_prefix=$copy
}

# run_value: the text of Tovik2's value under the user's Run key (its start at
# sign-in), empty without one. A scenario that calls it has the value removed
# when it ends.
run_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
run_value() {
  _e2e_run_value=1
  wine reg query "$run_key" /v Tovik2 2>/dev/null | tr -d '\r' | sed -n 's/^ *Tovik2 *REG_SZ *//p'
}

# keys_reach_programs: the display's keyboard hands Ctrl+Alt+F1..F12 to the
# programs, as a Windows desktop does. The X server's default keymap turns
# them into its own console switches and no program ever sees them (a
# global hotkey of Wine included). Undone when the scenario ends.
keys_reach_programs() {
  [ -n "${_e2e_keymap_options+set}" ] ||
    _e2e_keymap_options=$(setxkbmap -query | sed -n 's/^options: *//p')
  setxkbmap -option srvrkeys:none || fail "could not change the display's keymap"
}

# start_target [PROGRAM X Y]: another program's window (100,100)-(500,400)
# with an edit control near its top, to click and type into; it logs to
# target.log. Given a file name, a copy of that program under the name, its
# window's top left corner at X Y, logging to the name's .log.
start_target() {
  local program=$E2E_TOOLS/hook_target.exe log=$E2E_WORK/target.log
  if [ $# -gt 0 ]; then
    cp "$program" "$E2E_WORK/$1"
    program=$E2E_WORK/$1 log=$E2E_WORK/${1%.*}.log
  fi
  rm -f "$log"  # the wait below must not find an earlier run's line (see watch_stars)
  (exec wine "$program" "${@:2}" > "$log") &
  _e2e_pids+=($!)
  wait_until 20 eval 'tr -d "\r" 2>/dev/null < "$log" | grep -q "^target="' || fail "the target program did not start"
}

# target_full_screen HWND 1|0 [PAUSES]: the target window covers its monitor
# and comes to the front, or goes back to its place; then the program sees it
# so (it looks again at most a quarter second after its last look): with
# PAUSES 1 (the default) it holds input from making stars while the target is
# full screen, with 0 it never does.
target_full_screen() {
  local log=$E2E_WORK/target.log line=fullscreen command=7002 before paused=$2
  [ "$2" = 1 ] || line=windowed command=7003
  [ "${3:-1}" = 1 ] || paused=0
  before=$(tr -d '\r' < "$log" | grep -c "^$line " || true)
  probe command "$1" "$command" >/dev/null
  wait_until 10 eval '[ "$(tr -d "\r" < "$log" | grep -c "^$line ")" -gt "$before" ]' || fail "the target did not go $line"
  wait_until 10 eval 'probe status Pipwink2 | grep -q " fullscreen=$paused "' ||
    fail "the program does not see the target $line: $(probe status Pipwink2)"
}

# watch_stars: watches the star windows in the background from now on, until
# watch_result. Call that once the input has reached its target (the
# target's log shows it: a click has then been told to the program, moves and
# keys posted to it); it waits until the program's stars stand still again
# (stars_still), so that every star the input made has shown and come to
# rest, and leaves the
# watch's report in WATCH_REPORT (not in a subshell: only this shell can wait
# for the probe).
watch_stars() {
  # The log goes first: the background process empties it only once it runs,
  # and the wait below must not find the last watch's line in it.
  rm -f "$E2E_WORK/watch.stop" "$E2E_WORK/watch.log"
  wine "$E2E_WORK/probe.exe" watch "Pipwink2 Pupil" 300000 "$(windows_path "$E2E_WORK/watch.stop")" \
    > "$E2E_WORK/watch.log" &
  _watch_pid=$!
  _e2e_probe_pids+=("$_watch_pid")
  wait_until 20 grep -q watching "$E2E_WORK/watch.log" || fail "the watch did not start"
}
watch_result() {
  local quiet=0
  stars_still || quiet=$?
  touch "$E2E_WORK/watch.stop"
  wait "$_watch_pid"
  WATCH_REPORT=$(tr -d '\r' < "$E2E_WORK/watch.log")
  [ $quiet = 0 ] || fail "the program did not come to rest after the input: $(cat "$E2E_WORK/quiet.log")"
}

# program_quiet [SECONDS]: waits (up to SECONDS, 60) until the program is
# quiet: nothing moves or bombs, no posted input waits for it, no picture
# folder loads, and no message box or menu of its main thread shows. Its last
# status is left in quiet.log.
program_quiet() { probe quiet Pipwink2 $(( ${1:-60} * 1000 )) > "$E2E_WORK/quiet.log"; }

# stars_still: waits until nothing moves or bombs and no posted input waits
# for the program (a folder may still load); its last status is in quiet.log.
stars_still() { probe still Pipwink2 60000 > "$E2E_WORK/quiet.log"; }

# ticks_pass N: the program has handled N more motion ticks, or nothing moves
# any more (its motion timer is off).
ticks_pass() { probe ticks Pipwink2 "$1" 30000 >/dev/null || fail "no $1 motion ticks passed: $(probe status Pipwink2)"; }

# buttondowns [LOG]: how many left presses the target (logging to LOG,
# target.log) has taken.
buttondowns() { tr -d '\r' < "${1:-$E2E_WORK/target.log}" | grep -c '^buttondown ' || true; }

# move_target X Y [LOG]: the pointer to the point, a movement the target
# (logging to LOG, target.log) takes.
moves_to() { tr -d '\r' < "${3:-$E2E_WORK/target.log}" | grep -cx "mousemove $1 $2" || true; }
move_target() {
  local before
  before=$(moves_to "$@")
  xdotool mousemove "$1" "$2"
  wait_until 10 more_moves_to "$before" "$@" || fail "the target saw no movement to $1 $2"
}
more_moves_to() { [ "$(moves_to "${@:2}")" -gt "$1" ]; }

# probe_on_click X Y PROBE_ARGS...: starts the probe (catch, chase or
# command_on_flight, which say when they watch), then clicks the target at the point, so that the probe
# sees the click's stars from their first tick however long a probe takes to
# start; prints the probe's report and returns its exit code (4 without a
# click when a shown star covers the point).
probe_on_click() {
  local x=$1 y=$2 log=$E2E_WORK/probe_on_click.log pid rc=0 line
  shift 2
  rm -f "$log"  # not the last probe's line (see watch_stars)
  # A shown star over the point would take the click instead of the target.
  while read -r line; do
    [ -z "$line" ] || ! near_point "$x" "$y" 4 "$line" || return 4
  done <<<"$(visible_stars)"
  wine "$E2E_WORK/probe.exe" "$@" > "$log" &
  pid=$!
  _e2e_probe_pids+=("$pid")
  wait_until 20 grep -q '^\(catching\|chasing\|watching\)' "$log" || fail "the probe did not start watching: $*"
  click_target "$x" "$y"
  wait "$pid" || rc=$?
  tr -d '\r' < "$log" | grep -v '^\(catching\|chasing\|watching\)$'
  return $rc
}

# click_target X Y [LOG]: a left click at the point, taken by the target (the
# hook has then told the program of it).
click_target() {
  local before
  before=$(buttondowns "${3:-}")
  xdotool mousemove "$1" "$2" click 1
  wait_until 10 more_buttondowns "$before" "${3:-}" || fail "the target did not take the click at $1 $2"
}
more_buttondowns() { [ "$(buttondowns "$2")" -gt "$1" ]; }

# visible_stars: the probe's lines for the visible star windows.
visible_stars() { windows_of "Pipwink2 Pupil" | grep 'visible=1' || true; }

# The library that reads a running Tovik2 from the inside (probe census, probe menu).
census_library="Z:${E2E_TOOLS//\//\\}\\census.dll"

# menu_shown: a popup menu shows.
menu_shown() { windows_of "#32768" | grep -q "visible=1"; }

# shown_menu_items: the items of the menu Tovik2 shows, one a line ("-" for a separator).
shown_menu_items() { probe menu Pipwink2 "$census_library" || fail "no menu items could be read"; }

# x_windows_named NAME: the shown X windows whose name matches, one a line.
# xdotool gives up the whole search with an X error when a window it walks
# goes meanwhile, as star windows do all the time: such a search is made
# again. Fails when none matches.
x_windows_named() {
  local found try
  for try in 1 2 3 4 5; do
    found=$(xdotool search --onlyvisible --name "$1" 2>/dev/null) && { echo "$found"; return 0; }
  done
  return 1
}
x_window_named() { x_windows_named "$1" | head -n 1; }

# tray_menu_open: right-clicks Tovik2's tray icon until its menu shows.
tray_menu_open() {
  local tray
  tray=$(x_window_named '^Wine System Tray$')
  [ -n "$tray" ] || fail "no system tray window"
  eval "$(xdotool getwindowgeometry --shell "$tray")"
  # A right click that reaches the tray while it is busy can be lost: try again.
  local try
  for try in 1 2 3; do
    xdotool mousemove $((X + 10)) $((Y + 10)) click 3
    if wait_until 4 menu_shown; then
      screenshot "tray_menu"
      return 0
    fi
  done
  fail "the tray menu did not open"
}

# tray_menu KEYS...: right-clicks Tovik2's tray icon and presses the keys in
# the menu (Down moves to the next item, separators skipped).
tray_menu() {
  tray_menu_open
  xdotool key "$@"
  wait_until 10 eval '! menu_shown' || fail "the tray menu did not close"
}

# tray_menu_offers TEXT: the tray menu, opened and closed again, holds an item
# of exactly this text.
tray_menu_offers() {
  local items
  tray_menu_open
  items=$(shown_menu_items)
  xdotool key Escape
  wait_until 10 eval '! menu_shown' || fail "the tray menu did not close"
  grep -qxF "$1" <<<"$items" || fail "the tray menu does not offer $1: $(echo $items)"
}

# rect_field LINE N: the Nth number (1-4) of the rect= in a probe line.
rect_field() { echo "$1" | sed -n 's/.*rect=\([-0-9]*\),\([-0-9]*\),\([-0-9]*\),\([-0-9]*\).*/\'"$2"'/p'; }

# colour_at PNG X Y: the pixel's colour as "R,G,B" (0-255).
colour_at() {
  convert "$1" -format "%[fx:int(255*p{$2,$3}.r)],%[fx:int(255*p{$2,$3}.g)],%[fx:int(255*p{$2,$3}.b)]" info:
}

# write_ini [KEY=VALUE...]: a tovik2.ini of the default settings, but for the
# given keys, written before Tovik2 starts.
write_ini() {
  local -A value=([IMAGEFOLDER]= [QUANTITY]=2 [MOVERANGE]=70 [MOUSECLICK]=1 [MOUSEMOVE]=1 [KEYENTRY]=1 [ENTERKEY]=1)
  local pair key
  for pair in "$@"; do value[${pair%%=*}]=${pair#*=}; done
  {
    printf '[PIPWINK]\r\n'
    for key in IMAGEFOLDER QUANTITY MOVERANGE MOUSECLICK MOUSEMOVE KEYENTRY ENTERKEY; do
      printf '%s=%s\r\n' "$key" "${value[$key]}"
    done
    # The later keys only when given (a file of the seven gains them).
    for key in FULLSCREENPAUSE HOTKEY EXCLUDE; do
      [ -z "${value[$key]+set}" ] || printf '%s=%s\r\n' "$key" "${value[$key]}"
    done
  } > "$E2E_PROGRAM/tovik2.ini"
}

# tray_shown: Wine's tray window shows (it holds an icon).
tray_shown() { [ -n "$(x_windows_named '^Wine System Tray$')" ]; }

# tovik_ready: the main window whose hooks are set has answered from its
# loop, after the star field started and reacts (probe ready), and the tray
# icon shows.
tovik_ready() {
  probe ready Pipwink2 20000 >/dev/null || fail "Tovik2 did not get ready (main window, hooks, star field)"
  wait_until 20 tray_shown || fail "no tray icon"
}

# start_tovik_ready: starts Tovik2 and waits until it is ready for input.
start_tovik_ready() {
  start_tovik
  tovik_ready
}

# ini_written: the INI holds its last key (the file shows before its keys are
# written).
ini_written() { tr -d '\r' < "$E2E_PROGRAM/tovik2.ini" 2>/dev/null | grep -q '^WEBCARET='; }

# start_report_done: once the messages of a start have been answered: Tovik2
# is ready, its start has been handled to the end and its folder loaded, and
# no further message box shows.
start_report_done() {
  tovik_ready
  program_quiet || fail "the start did not end: $(cat "$E2E_WORK/quiet.log"); message: $(message_box)"
  ! has_message_box || fail "another message came: $(message_box)"
}

# stop_tovik [SECONDS]: asks the main window to close; Tovik2 must end with
# code 0 within SECONDS (20). Each caught star adds about 2.5 s here: a press
# activates a star, Wine then hands its window to the window manager, and at
# the end Wine waits 2 s per such window for an answer from the manager, which
# this display does not have.
stop_tovik() {
  probe close Pipwink2 >/dev/null
  wait_until "${1:-20}" process_gone "$TOVIK_PID" || fail "Tovik2 did not exit"
  local rc=0
  wait "$TOVIK_PID" || rc=$?
  [ "$rc" = 0 ] || fail "Tovik2 exited with $rc"
}

# target_moved_to X Y [LOG]: the target (logging to LOG, target.log) has
# taken a movement to the point.
target_moved_to() { tr -d '\r' < "${3:-$E2E_WORK/target.log}" | grep -qx "mousemove $1 $2"; }

# wake_target [LOG X Y]: slow moves over a target (started by start_target;
# its log, and a point inside it clear of its edit control: target.log, 300
# 300), one after another, until the system has mapped the hook library into
# it; no move is fast enough to make stars.
wake_target() {
  local log=${1:-$E2E_WORK/target.log} x0=${2:-300} y=${3:-300} x X Y
  eval "$(xdotool getmouselocation --shell)"
  for x in $(seq "$x0" 2 $((x0 + 20))); do
    [ "$X,$Y" != "$x,$y" ] || continue  # no movement to where the pointer is
    xdotool mousemove "$x" "$y"
    wait_until 5 target_moved_to "$x" "$y" "$log" || fail "the target saw no movement to $x $y"
    if tr -d '\r' < "$log" | grep -qx hooked; then
      # The hook may not have seen the step that mapped it. Two more short
      # steps, each taken by the target: a short step right after a long one
      # can make a star (the movement rule's sudden stop), which the hook
      # posts; wait until the program has taken it, so that it is not
      # counted with the stars of a scenario's first click.
      xdotool mousemove $((x + 2)) "$y"
      wait_until 5 target_moved_to $((x + 2)) "$y" "$log" || fail "the target saw no movement to $((x + 2)) $y"
      xdotool mousemove "$x" "$y"
      wait_until 5 target_moved_to "$x" "$y" "$log" || fail "the target saw no movement back to $x $y"
      wait_until 5 probe moveposted || fail "the program did not take a posted move"
      return 0
    fi
  done
  fail "the hook library did not reach the target"
}

# stars_rested: no star window shows.
stars_rested() { [ -z "$(visible_stars)" ]; }

# watched_count: the number of stars the last watch saw.
watched_count() { echo "$WATCH_REPORT" | grep -c '^seen=' || true; }

# near_point X Y DISTANCE RECT_LINE: the rectangle of the line comes within
# DISTANCE pixels of the point (on both axes).
near_point() {
  local l t r b dx=0 dy=0
  l=$(rect_field "$4" 1) t=$(rect_field "$4" 2) r=$(rect_field "$4" 3) b=$(rect_field "$4" 4)
  (( $1 < l )) && dx=$((l - $1)); (( $1 > r )) && dx=$(($1 - r))
  (( $2 < t )) && dy=$((t - $2)); (( $2 > b )) && dy=$(($2 - b))
  (( dx <= $3 && dy <= $3 ))
}

# track_windows MS HWND...: follows the windows in the background from now on;
# track_result then waits and leaves the probe's change lines in TRACK_REPORT.
track_windows() {
  rm -f "$E2E_WORK/track.log"  # not the last track's line (see watch_stars)
  wine "$E2E_WORK/probe.exe" track "$@" > "$E2E_WORK/track.log" &
  _track_pid=$!
  _e2e_probe_pids+=("$_track_pid")
  wait_until 20 grep -q tracking "$E2E_WORK/track.log" || fail "the tracking did not start"
}
track_result() {
  wait "$_track_pid"
  TRACK_REPORT=$(tr -d '\r' < "$E2E_WORK/track.log")
}

# star_line HWND: the probe line of one star window.
star_line() { windows_of "Pipwink2 Pupil" | grep "hwnd=$1 " || true; }

# caught_star_rests HWND: the star shows and stands still, as a caught star
# does; a star that a press meant to catch missed flies on and rests hidden.
caught_star_rests() {
  local first
  first=$(star_line "$1")
  grep -q 'visible=1' <<<"$first" || return 1
  ticks_pass 3  # a flying star moves every tick
  [ "$(star_line "$1")" = "$first" ]
}

# star_click HWND BUTTON: a click of the button in the middle of the star window.
star_click() {
  local line
  line=$(star_line "$1")
  [ -n "$line" ] || fail "no star window $1"
  xdotool mousemove $(( ($(rect_field "$line" 1) + $(rect_field "$line" 3)) / 2 )) \
    $(( ($(rect_field "$line" 2) + $(rect_field "$line" 4)) / 2 )) click "$2"
}

# star_menu_open HWND: right-clicks the star window in its middle; its menu shows.
star_menu_open() {
  star_click "$1" 3
  wait_until 10 menu_shown || {
    screenshot "star_menu_missing"
    fail "the star's menu did not open on $(star_line "$1"); menus: $(windows_of '#32768'); stars: $(visible_stars)"
  }
  screenshot "star_menu"
}

# star_menu HWND KEYS...: right-clicks the star window in its middle and
# presses the keys in its menu.
star_menu() {
  star_menu_open "$1"
  shift
  xdotool key "$@"
  wait_until 10 eval '! menu_shown' || fail "the star's menu did not close"
}

# picture WxH COLOUR FILE: a one-colour opaque RGBA PNG. ImageMagick writes a
# background-colour chunk by default, and a file with one is composed over
# that colour and colour-keyed on its top-left pixel, which would make a
# one-colour picture wholly transparent; so the chunk is left out.
picture() { convert -size "$1" xc:"$2" -define png:exclude-chunks=bKGD "PNG32:$3"; }

# windows_path PATH: the Wine path (drive Z:) of a path of this machine.
windows_path() { echo "Z:${1//\//\\}"; }

# message_box: the probe line of a shown message box's text.
message_box() { probe item '#32770' 65535 | grep 'visible=1' || true; }
has_message_box() { [ -n "$(message_box)" ]; }
# answer_message_box: waits for a message box of the program, prints its
# text and answers it with OK.
answer_message_box() {
  local box hwnd
  wait_until 30 has_message_box || fail "no message box came"
  box=$(message_box)
  hwnd=$(echo "$box" | sed -n 's/^hwnd=\(0x[0-9a-f]*\).*/\1/p')
  probe list '#32770' | grep -q "hwnd=$hwnd visible=1" || fail "the message box is hidden"
  x_windows_named '^Pipwink2$' >/dev/null || fail "no window with the caption Pipwink2"
  screenshot "message_box_$(date +%s%N)"
  probe command "$hwnd" 1 >/dev/null
  # This box goes; another may follow it at once.
  wait_until 10 eval '! probe list "#32770" | grep -q "hwnd=$hwnd visible=1"' || fail "the message box did not close"
  echo "$box" | sed -n 's/.* text=//p'
}

# box_or_quiet: waits until a message box of the program shows (0), or until
# the program has its main window and, quiet, tells nothing (1).
box_or_quiet() {
  local deadline=$((SECONDS + 60))
  while [ $SECONDS -lt $deadline ]; do
    has_message_box && return 0
    if has_window Pipwink2 && probe quiet Pipwink2 0 > "$E2E_WORK/quiet.log"; then
      has_message_box && return 0
      return 1
    fi
    sleep 0.2
  done
  fail "the program neither told something nor came to rest: $(cat "$E2E_WORK/quiet.log" 2>/dev/null)"
}

# message_text: every line of the shown message box's text.
message_text() { probe item '#32770' 65535 | sed -n '/visible=1/,$p' | sed '1s/^.* text=//'; }

# The settings dialog's controls by id (ids above 1000 belong to it alone).
dialog_item() { probe item '#32770' "$1"; }
settings_dialog_shown() { dialog_item 1010 | grep -q 'visible=1'; }
# click_dialog_item ID: a left click in the middle of a control of the dialog.
click_dialog_item() {
  local line
  line=$(dialog_item "$1")
  xdotool mousemove $(( ($(rect_field "$line" 1) + $(rect_field "$line" 3)) / 2 )) \
    $(( ($(rect_field "$line" 2) + $(rect_field "$line" 4)) / 2 )) click 1
}

# target_figures: the target's figures since the last call (its "held" line:
# how long the global hooks held its input thread, the movement messages it
# took and how late they came).
target_figures() {
  local log=$E2E_WORK/target.log before
  before=$(tr -d '\r' < "$log" | grep -c '^held ' || true)
  probe command Tovik2HookTarget 7001 >/dev/null
  wait_until 10 eval '[ "$(tr -d "\r" < "$log" | grep -c "^held ")" -gt "$before" ]' || fail "the target gave no figures"
  tr -d '\r' < "$log" | grep '^held ' | tail -n 1
}

# sweep_target X Y END_X END_Y: 150 steps of 30 pixels back and forth from X
# along Y, 10 ms apart, in one xdotool call (a fast sweep whose steps the
# target still takes one by one); then a last point of its own and a wait
# until the target has taken it.
sweep_target() {
  local args=() i k
  for i in $(seq 0 149); do
    k=$((i % 20)); (( k > 10 )) && k=$((20 - k))
    args+=(mousemove $(($1 + 30 * k)) "$2" sleep 0.01)
  done
  xdotool "${args[@]}" mousemove "$3" "$4"
  wait_until 10 target_moved_to "$3" "$4" || fail "the target did not take the sweep's end"
}
