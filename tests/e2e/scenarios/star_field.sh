# The road of one click, as a user meets it: Tovik2 starts with its tray icon
# and a default INI; a click in another program makes QUANTITY stars near the
# point, which come to rest hidden; two caught stars of one picture dragged
# together become one star with a number; the tray menu disables (grabbed
# stars hide, clicks make nothing) and enables, and so does the pause hotkey,
# the menu offering whichever is not in force; while the other program is
# full screen in front its clicks make nothing, and once it is back at its
# place they make stars again; the version box shows centred and closes on a
# click; exit ends the program and leaves the INI behind.
# With E2E_DPI=144 (a display at 150 %, in a prefix of its own) the scenario is
# short: a click's stars are the built-in sizes half again and spring from
# the click, and the settings dialog opens half again as large.

# star_sizes_are REPORT SIZES...: every star a watch saw is square and of one
# of the sizes; prints the sizes seen.
star_sizes_are() {
  local report=$1 line w h; shift
  while read -r line; do
    w=$(( $(rect_field "$line" 3) - $(rect_field "$line" 1) ))
    h=$(( $(rect_field "$line" 4) - $(rect_field "$line" 2) ))
    [ "$w" = "$h" ] && [[ " $* " == *" $w "* ]] || fail "a star of ${w} x ${h}, not one of $*: $line"
    echo "$w"
  done < <(echo "$report" | grep '^seen=')
}
# stars_near X Y REACH REPORT: every star a watch saw has its centre within REACH of the click.
stars_near() {
  local line cx cy
  while read -r line; do
    cx=$(( ($(rect_field "$line" 1) + $(rect_field "$line" 3)) / 2 ))
    cy=$(( ($(rect_field "$line" 2) + $(rect_field "$line" 4)) / 2 ))
    (( cx > $1 - $3 && cx < $1 + $3 && cy > $2 - $3 && cy < $2 + $3 )) || fail "a star started far from the click: $line"
  done < <(echo "$4" | grep '^seen=')
}

if [ "${E2E_DPI:-96}" = 144 ]; then
  use_scaled_prefix 144
  start_target
  start_tovik_ready
  wake_target
  wait_until 5 stars_rested || fail "stars did not rest"
  # A click shows the built-in star at 108, 72 or 48 pixels; 72 is a size at
  # 96 DPI as well, so clicks go on until a size only the scale makes shows.
  scaled_seen=""
  for try in 1 2 3 4 5 6 7 8 9 10; do
    watch_stars
    click_target 300 300
    screenshot "stars_at_144_dpi"
    watch_result; report=$WATCH_REPORT
    echo "$report" | grep -qx 'max_visible=2' || fail "a click did not show two stars: $report"
    sizes=$(star_sizes_are "$report" 108 72 48)
    stars_near 300 300 225 "$report"  # the flight reaches half again as far
    wait_until 10 stars_rested || fail "stars did not come to rest: $(visible_stars)"
    if grep -qx -e 108 -e 48 <<<"$sizes"; then scaled_seen=$(echo $sizes); break; fi
  done
  [ -n "$scaled_seen" ] || fail "ten clicks showed only stars of 72 pixels"
  echo "e2e: at 144 DPI a click showed stars of $scaled_seen pixels"
  # The settings dialog: its template's 215 x 208 dialog units in a 9 point
  # font are about 330 x 350 pixels at 96 DPI; at 144 about half again.
  tray_menu Down Down Return
  wait_until 20 settings_dialog_shown || fail "the settings dialog did not open"
  dialog=$(dialog_item 1010 | sed -n 's/.*hwnd=\([^ ]*\).*/\1/p')
  rect=$(probe list '#32770' | grep "hwnd=$dialog " | sed -n 's/.*rect=\([^ ]*\).*/\1/p')
  IFS=, read -r l t r b <<<"$rect"
  screenshot "settings_at_144_dpi"
  echo "e2e: the settings dialog at 144 DPI is $((r - l)) x $((b - t))"
  (( r - l >= 450 && b - t >= 450 )) || fail "the settings dialog is not scaled: $rect"
  click_dialog_item 2  # Cancel
  wait_until 10 eval '! settings_dialog_shown' || fail "the settings dialog did not close"
  stop_tovik
  return 0
fi

start_target
start_tovik_ready
wait_until 10 ini_written || fail "no INI file was written"
keys=$(tr -d '\r' < "$E2E_PROGRAM/tovik2.ini" | sed -n 's/=.*//p' | tr '\n' ' ')
[ "$keys" = "IMAGEFOLDER QUANTITY MOVERANGE MOUSECLICK MOUSEMOVE KEYENTRY ENTERKEY FULLSCREENPAUSE HOTKEY EXCLUDE LANGUAGE WEBCARET " ] ||
  fail "INI keys: $keys"
tr -d '\r' < "$E2E_PROGRAM/tovik2.ini" | grep -qx 'QUANTITY=2' || fail "QUANTITY is not 2"

# Wine maps the hook library into the target at its first input: move over
# it (slowly, so that no move makes stars) before the real click.
wake_target
wait_until 5 stars_rested || fail "stars did not rest"

# A click makes two stars beside the point; they fly and rest hidden.
watch_stars
click_target 300 300
screenshot "stars_in_flight"
watch_result; report=$WATCH_REPORT
echo "$report" | grep -qx 'max_visible=2' || fail "a click did not show two stars: $report"
star_sizes_are "$report" 72 48 32 >/dev/null  # unscaled: the built-in star's own sizes
stars_near 300 300 150 "$report"
wait_until 10 eval '[ -z "$(visible_stars)" ]' || fail "stars did not come to rest: $(visible_stars)"

# Catch flying stars until two of them show the same picture (same size).
# Once a click's other stars have come to rest hidden, what shows is exactly
# the caught stars: a star the probe's press took among them (a press that
# missed may have taken another one, which is caught as well).
caught=()
pair=""
width_at() { echo $(( $(rect_field "$1" 3) - $(rect_field "$1" 1) )); }
for point in "250 330" "350 330" "260 250" "380 260" "300 340" "220 300" "400 330" "330 240" "240 350" "360 350"; do
  line=$(probe_on_click ${point% *} ${point#* } catch "Pipwink2 Pupil" 10000 "${caught[@]}") || true
  stars_still || fail "the stars of a catching click did not rest: $(cat "$E2E_WORK/quiet.log")"
  hwnd=$(echo "$line" | sed -n 's/^caught=\(0x[0-9a-f]*\).*/\1/p')
  [ -z "$hwnd" ] || visible_stars | grep -q "^hwnd=$hwnd " || fail "the caught star $hwnd does not show: $(visible_stars)"
  for other in "${caught[@]}"; do
    visible_stars | grep -q "^hwnd=$other " || fail "the caught star $other no longer shows: $(visible_stars)"
  done
  mapfile -t caught < <(visible_stars | sed -n 's/^hwnd=\(0x[0-9a-f]*\).*/\1/p')
  pair=$(visible_stars | while read -r l; do echo "$(width_at "$l") $(sed -n 's/^hwnd=\([^ ]*\).*/\1/p' <<<"$l")"; done |
    sort -n | awk '$1 == w { print h, $2; exit } { w = $1; h = $2 }')
  [ -n "$pair" ] && break
done
[ -n "$pair" ] || fail "could not catch two stars of one picture (caught ${caught[*]})"
read -r first second <<<"$pair"
line_of() { windows_of "Pipwink2 Pupil" | grep "hwnd=$1 "; }
a=$(line_of "$first") b=$(line_of "$second")
ax=$(( ($(rect_field "$a" 1) + $(rect_field "$a" 3)) / 2 )) ay=$(( ($(rect_field "$a" 2) + $(rect_field "$a" 4)) / 2 ))
bx=$(( ($(rect_field "$b" 1) + $(rect_field "$b" 3)) / 2 )) by=$(( ($(rect_field "$b" 2) + $(rect_field "$b" 4)) / 2 ))

# Drag the first onto the second: one star with a number stays.
xdotool mousemove "$ax" "$ay" mousedown 1
for step in 1 2 3 4 5; do
  xdotool mousemove $(( ax + (bx - ax) * step / 5 )) $(( ay + (by - ay) * step / 5 ))
  sleep 0.05
done
# Dragged, it rises above every other star (the probe lists top first).
top_star_is() { windows_of "Pipwink2 Pupil" | grep 'visible=1' | head -n 1 | grep -q "hwnd=$1 "; }
wait_until 3 top_star_is "$first" || fail "the dragged star $first is not above the others: $(visible_stars)"
xdotool mouseup 1
wait_until 10 eval '! windows_of "Pipwink2 Pupil" | grep -q "hwnd=$first visible=1"' || fail "the dropped star did not join"
line_of "$second" | grep -q 'visible=1' || fail "the star that was joined is gone"
# Once the stars of the presses have rested, the joined star shows a number:
# black digits, darker than anything in the star's own picture.
wait_until 10 eval '[ "$(visible_stars | wc -l)" = "$(( ${#caught[@]} - 1 ))" ]' || fail "stars left: $(visible_stars)"
screenshot "joined_star"
j=$(line_of "$second")
jl=$(rect_field "$j" 1) jt=$(rect_field "$j" 2) jr=$(rect_field "$j" 3) jb=$(rect_field "$j" 4)
convert "$E2E_ARTIFACTS/joined_star.png" -crop "$((jr - jl))x$((jb - jt))+$jl+$jt" +repage \
  "$E2E_ARTIFACTS/joined_star_window.png"
dark=$(convert "$E2E_ARTIFACTS/joined_star_window.png" -colorspace gray -threshold 12% -negate \
  -format '%[fx:round(mean*w*h)]' info:)
(( dark > 10 )) || fail "the joined star shows no number ($dark dark pixels)"

# clear_point: a point of the target (in its client area, below its edit
# control) that no shown star covers.
clear_point() {
  local p line
  for p in "450 380" "150 380" "460 200" "140 200" "300 390" "450 300"; do
    while read -r line; do
      [ -n "$line" ] && near_point ${p% *} ${p#* } 4 "$line" && continue 2
    done <<<"$(visible_stars)"
    echo "$p"
    return 0
  done
  fail "no point of the target is clear of the caught stars: $(visible_stars)"
}
# click_stars: a click at a clear point; prints how many stars it showed
# (the stars shown before it not counted). last_watch: what the watch saw.
click_stars() {
  local shown point
  shown=$(visible_stars | sed -n 's/^hwnd=\(0x[0-9a-f]*\).*/seen=\1 /p')
  point=$(clear_point)
  watch_stars
  click_target ${point% *} ${point#* }
  watch_result
  echo "$WATCH_REPORT" | grep '^seen=' | grep -vcF "${shown:-none}" || true
}
last_watch() { tr -d '\r' < "$E2E_WORK/watch.log"; }
grabbed_back() { line_of "$second" | grep -q "visible=1"; }
# Hiding or showing a window that was once active waits about 2 s here (no
# window manager answers): each grabbed star may take that long.
hide_wait=$(( 5 + 3 * ${#caught[@]} ))
same_place() { [ "$(line_of "$second" | sed 's/.*rect=//; s/ .*//')" = "$(echo "$b" | sed 's/.*rect=//; s/ .*//')" ]; }

# Disable: the grabbed stars hide and clicks make nothing; the menu offers 有効化.
b=$(line_of "$second")  # where the joined star rests now, its press shift undone
tray_menu Down Down Down Down Return  # version, settings, start at sign-in, then the switch
wait_until "$hide_wait" eval '[ -z "$(visible_stars)" ]' || fail "grabbed stars still show while disabled: $(visible_stars)"
(( $(click_stars) == 0 )) || fail "a click made stars while disabled: $(last_watch)"
tray_menu_offers 有効化

# Enable: the grabbed stars come back where they were.
tray_menu Down Down Down Down Return  # version, settings, start at sign-in, then the switch
wait_until "$hide_wait" grabbed_back || fail "the grabbed star did not come back"
same_place || fail "the grabbed star moved: $(line_of "$second") was $b"

# The pause hotkey, Ctrl+Alt+Shift+F8 by default, does the same from the keyboard,
# and the menu follows it.
keys_reach_programs
xdotool mousemove 300 390 key ctrl+alt+shift+F8
wait_until "$hide_wait" eval '[ -z "$(visible_stars)" ]' || fail "the hotkey did not pause: $(visible_stars)"
tray_menu_offers 有効化
(( $(click_stars) == 0 )) || fail "a click made stars while the hotkey paused: $(last_watch)"
xdotool mousemove 300 390 key ctrl+alt+shift+F8
wait_until "$hide_wait" grabbed_back || fail "the hotkey did not resume: the grabbed star did not come back"
same_place || fail "the grabbed star moved: $(line_of "$second") was $b"
tray_menu_offers 無効化
(( $(click_stars) > 0 )) ||
  fail "a click made no stars after the hotkey resumed: $(last_watch); status: $(probe status Pipwink2); target: $(tr -d '\r' < "$E2E_WORK/target.log" | tail -n 5 | tr '\n' ' ')"
wait_until 10 eval '[ "$(visible_stars | wc -l)" = "$(( ${#caught[@]} - 1 ))" ]' || fail "stars did not rest: $(visible_stars)"

# The other program full screen in front: its clicks make no stars, and the
# caught star stays where it is. Back at its place, its clicks make stars.
target=$(tr -d '\r' < "$E2E_WORK/target.log" | sed -n 's/^target=\([^ ]*\).*/\1/p')
target_full_screen "$target" 1
wait_until 5 eval 'probe foreground | grep -q "^hwnd=$target "' || fail "the full-screen target is not in front: $(probe foreground)"
screenshot "full_screen"
(( $(click_stars) == 0 )) || fail "a click into the full-screen program made stars: $(last_watch)"
grabbed_back && same_place || fail "the caught star did not stay over the full-screen program: $(line_of "$second")"
target_full_screen "$target" 0
(( $(click_stars) > 0 )) || fail "a click made no stars once the program left full screen: $(last_watch)"
wait_until 10 eval '[ "$(visible_stars | wc -l)" = "$(( ${#caught[@]} - 1 ))" ]' || fail "stars did not rest: $(visible_stars)"

# The version box: centred, closed by a click on it.
tray_menu Down Return
expected="rect=485,397,795,627"
wait_until 5 eval 'visible_stars | grep -q "$expected"' || fail "no centred version box: $(visible_stars)"
screenshot "version_box"
box=$(visible_stars | grep "$expected" | sed -n 's/^hwnd=\(0x[0-9a-f]*\).*/\1/p')
xdotool mousemove 640 512 click 1
wait_until 5 eval '! windows_of "Pipwink2 Pupil" | grep -q "hwnd=$box "' || fail "the version box did not close"

# Exit from the menu: the process ends, the INI stays, no window is left.
tray_menu Down Down Down Down Down Return  # the last item: exit
wait_until 20 process_gone "$TOVIK_PID" || fail "Tovik2 did not exit"
rc=0; wait "$TOVIK_PID" || rc=$?
[ "$rc" = 0 ] || fail "Tovik2 exited with $rc"
test -f "$E2E_PROGRAM/tovik2.ini" || fail "the INI file is gone"
has_no_window Pipwink2 || fail "the main window is left"
wait_until 5 has_no_window "Pipwink2 Pupil" || fail "star windows are left: $(windows_of 'Pipwink2 Pupil')"
