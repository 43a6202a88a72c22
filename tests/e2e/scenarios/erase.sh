# Caught stars and their menu: erase plays the poof (a larger picture centred
# on the star, one frame per tick) and the window goes; a close from outside
# (another program's WM_CLOSE, Alt+F4 on an active star) takes no star's
# window, so no star is left without one; erase all lets every caught star
# go, one tick after another, and leaves none behind that the menu would
# count; tidy-up joins the caught stars of one picture into one with the
# number, leaving every star where it was. Throughout, the user types into
# the other program: catching a star and using its menu leave that program in
# front with its edit focused, and every key typed reaches it.

# Two pictures of their own sizes: a star's size names its picture.
pictures=$E2E_WORK/pictures
mkdir -p "$pictures"
picture 40x40 "#ff8000" "$pictures/a_fix.png"
picture 60x60 "#20c0ff" "$pictures/b_fix.png"
# A star whose menu was up was in front meanwhile, and Wine counts a window
# that was once active as one for the window manager: hiding it then waits two
# seconds for an answer that no window manager on the virtual display gives.
# So such a window takes about two seconds to go, and the waits allow for it.
write_ini "IMAGEFOLDER=$(windows_path "$pictures")" MOUSEMOVE=0 KEYENTRY=0

start_target
start_tovik_ready
wake_target
wait_until 5 stars_rested || fail "stars did not rest"

# The user types into the target's edit control: a click on it, then keys.
target=$(tr -d '\r' < "$E2E_WORK/target.log" | sed -n 's/^target=\(0x[0-9a-f]*\).*/\1/p')
edit=$(tr -d '\r' < "$E2E_WORK/target.log" | sed -n 's/.* edit=\(0x[0-9a-f]*\).*/\1/p')
edit_line=$(tr -d '\r' < "$E2E_WORK/target.log" | sed -n 's/.* editrect=/rect=/p')
typed=""
edit_text() { probe controls "$target" | sed -n 's/^id=[-0-9]* class=Edit .* text=//p'; }
typing_in_target() { [ "$(probe foreground)" = "hwnd=$target focus=$edit class=Tovik2HookTarget" ]; }
# type_more KEY WHAT: the target is in front with its edit focused, and the
# key (one letter) typed now lands there after what was typed before. The
# display's own keyboard focus is handed to the target first: without a
# window manager it stays where a menu or a click on another program's X
# window left it (the root), which no Windows system has; where the program
# in front takes the keys is what the window system says above.
type_more() {
  wait_until 10 typing_in_target || fail "after $2 the target is not in front with its edit focused: $(probe foreground)"
  xdotool windowfocus --sync "$target_x"
  xdotool key "$1"
  typed+=$1
  wait_until 10 eval '[ "$(edit_text)" = "$typed" ]' || fail "after $2 the edit holds '$(edit_text)', not '$typed'"
  echo "after $2: $(probe foreground), edit holds '$typed'"
}
# (Without a window manager a window gets the keyboard only when told.)
target_x=$(x_window_named '^hook target$')
xdotool windowfocus --sync "$target_x"
xdotool mousemove $(( ($(rect_field "$edit_line" 1) + $(rect_field "$edit_line" 3)) / 2 )) \
  $(( ($(rect_field "$edit_line" 2) + $(rect_field "$edit_line" 4)) / 2 )) click 1
type_more a "a click on the edit"
wait_until 5 stars_rested || fail "the stars of the click on the edit did not rest"

width_of_star() { local l; l=$(star_line "$1"); echo $(( $(rect_field "$l" 3) - $(rect_field "$l" 1) )); }
centre_of() { echo $(( ($(rect_field "$1" 1) + $(rect_field "$1" 3)) / 2 )) $(( ($(rect_field "$1" 2) + $(rect_field "$1" 4)) / 2 )); }

# catch_star: clicks in the target and catches a star of that click; its
# handle in CAUGHT. Once the click's other stars have come to rest hidden,
# what shows is exactly the caught stars (a press that missed may have taken
# another flying star, which is caught as well: HELD follows what shows).
points=("250 330" "350 330" "260 250" "380 260" "300 340" "220 300" "400 330" "330 240" "240 350" "360 350")
next_point=0
catch_star() {
  local point line tries other rc tried=""
  for tries in 1 2 3 4 5; do
    point=${points[next_point % ${#points[@]}]}
    next_point=$((next_point + 1))
    rc=0
    line=$(probe_on_click ${point% *} ${point#* } catch "Pipwink2 Pupil" 10000 "${held[@]}") || rc=$?
    stars_still || fail "the stars of a catching click did not rest: $(cat "$E2E_WORK/quiet.log")"
    # What each click came to, for a failure to tell (exit 4: a shown star covered the point).
    tried+=$'\n'"  click at $point, probe exit $rc: $(echo $line); at rest: $(visible_stars | sed 's/ exstyle=.*//' | tr '\n' ' ')"
    for other in "${held[@]}"; do
      visible_stars | grep -q "^hwnd=$other " || fail "the caught star $other no longer shows: $(visible_stars)"
    done
    CAUGHT=$(echo "$line" | sed -n 's/^caught=\(0x[0-9a-f]*\).*/\1/p')
    mapfile -t held < <(visible_stars | sed -n 's/^hwnd=\(0x[0-9a-f]*\).*/\1/p')
    [ -n "$CAUGHT" ] || continue
    visible_stars | grep -q "^hwnd=$CAUGHT " || fail "the caught star $CAUGHT does not show: $(visible_stars)"
    return 0
  done
  fail "could not catch a star (kept: ${held[*]}):$tried"
}

# --- Erase one: the poof, centred, larger; then the window goes.
held=()
catch_star
type_more b "a catch"
star=$CAUGHT
before=$(star_line "$star")
read -r cx cy <<<"$(centre_of "$before")"
track_windows 60000 "$star"  # it ends once the window is gone
star_menu "$star" Down Return
track_result
echo "$TRACK_REPORT" | grep -q "hwnd=$star gone" || fail "the erased star's window did not go: $TRACK_REPORT"
poof=$(echo "$TRACK_REPORT" | grep 'visible=1' | while read -r line; do
  w=$(( $(rect_field "$line" 3) - $(rect_field "$line" 1) ))
  h=$(( $(rect_field "$line" 4) - $(rect_field "$line" 2) ))
  [ "$w" = 128 ] && [ "$h" = 128 ] && echo "$line"
done)
[ -n "$poof" ] || fail "no poof frame showed: $TRACK_REPORT"
read -r px py <<<"$(centre_of "$(echo "$poof" | head -n 1)")"
# Within 3 pixels: a star still pressed lies 2 pixels off its place, and a
# loaded machine may show the press's release late.
(( px - cx <= 3 && cx - px <= 3 && py - cy <= 3 && cy - py <= 3 )) || fail "the poof is not centred on the star ($cx,$cy): $poof"
held=()
[ -z "$(star_line "$star")" ] || fail "the erased star's window is left"
type_more c "an erase through the star's menu"

# star_census: the number of top-level windows of the program (probe census).
star_census() { probe census Pipwink2 "$census_library" | sed -n 's/.*windows=\([0-9]*\).*/\1/p'; }
# menu_reads ITEMS...: the shown menu's items are these, in this order.
menu_reads() {
  local items
  items=$(shown_menu_items)
  [ "$(echo $items)" = "$*" ] || fail "the star's menu reads $(echo $items), not $*"
}

# --- A close from outside: another program posts WM_CLOSE to every star
# window, resting or caught. Every window stays, and the menu still counts
# three caught stars. A click on a caught star leaves the target in front (a
# star is never active, so Alt+F4 never reaches one).
catch_star; catch_star; catch_star
screenshot "three_caught"
star_click "${held[2]}" 1
wait_until 5 eval '[ "$(visible_stars | wc -l)" = "${#held[@]}" ]' || fail "the click's stars did not rest: $(visible_stars)"
type_more d "a click on a caught star"
windows_before=$(star_census)
star_windows=$(windows_of "Pipwink2 Pupil" | wc -l)
probe close "Pipwink2 Pupil" >/dev/null
# The menu's click is taken after the closes: they have been handled once it shows.
star_menu_open "${held[1]}"
menu_reads 消去 - 全て消去 整理する
for h in "${held[@]}"; do
  star_line "$h" | grep -q 'visible=1' || fail "a close from outside took the caught star $h: $(star_line "$h")"
done
[ "$(windows_of "Pipwink2 Pupil" | wc -l)" = "$star_windows" ] ||
  fail "a close from outside took star windows: $star_windows before, now $(windows_of "Pipwink2 Pupil")"
# The program's windows, counted from the inside: as many as before, and its menu.
menus=$(windows_of "#32768" | grep -c 'visible=1')
[ "$(star_census)" = $((windows_before + menus)) ] ||
  fail "the program had $windows_before windows and shows $menus menu, now $(star_census)"

# --- Erase all: the three caught stars go one after another.
track_windows 60000 "${held[@]}"  # it ends once all are gone
xdotool key Down Down Return
wait_until 10 eval '! menu_shown' || fail "the star's menu did not close"
track_result
# Each went in a tick of its own: the ranges of ticks the probe saw them go in
# (sorted by their ends) leave each a tick of its own.
gone_ticks=$(echo "$TRACK_REPORT" | sed -n 's/^t=[0-9]* .* gone ticks=\([0-9]*\)-\([0-9]*\)$/\2 \1/p' | sort -n)
[ "$(grep -c . <<<"$gone_ticks")" = "${#held[@]}" ] || fail "not every caught star went: $TRACK_REPORT"
taken=-1
while read -r high low; do
  tick=$(( low > taken + 1 ? low : taken + 1 ))
  (( tick <= high )) || fail "two stars went in one tick: $(echo $gone_ticks) (end-start)"
  taken=$tick
done <<<"$gone_ticks"
echo "erase all: windows went in motion ticks $(echo "$gone_ticks" | awk '{print $2 "-" $1}' | tr '\n' ' ')"
held=()
wait_until 5 stars_rested || fail "stars are left after erase all: $(visible_stars)"
type_more e "erase all"

# --- Tidy-up: catch until two caught stars show one picture, and three are
# caught; then every picture keeps one star, where it was. The first caught
# star is the only one: its menu offers no more than erasing it.
catch_star
star_menu_open "$CAUGHT"
menu_reads 消去
xdotool key Escape
wait_until 10 eval '! menu_shown' || fail "the star's menu did not close"
type_more f "a star's menu closed with Escape"
while :; do
  catch_star
  widths=$(for h in "${held[@]}"; do width_of_star "$h"; done | sort)
  if [ "${#held[@]}" -ge 3 ] && [ "$(uniq <<<"$widths" | wc -l)" -lt "${#held[@]}" ]; then break; fi
  [ "${#held[@]}" -lt 6 ] || fail "six caught stars and no pair: $widths"
done
declare -A rect_before=()
for h in "${held[@]}"; do rect_before[$h]=$(star_line "$h" | sed 's/.*rect=//; s/ .*//'); done
star_menu "${held[0]}" Down Down Down Return
pictures_held=$(uniq <<<"$widths" | wc -l)
wait_until 15 eval '[ "$(visible_stars | wc -l)" = "$pictures_held" ]' || fail "tidy-up left $(visible_stars | wc -l) stars, not $pictures_held: $(visible_stars)"
# A joined star's window is hidden at once and goes after the two-second
# wait: only the shown ones are the stars that are left.
shown_line() { star_line "$1" | grep 'visible=1' || true; }
joined_gone() {
  local h
  for h in "${held[@]}"; do
    [ -n "$(shown_line "$h")" ] || [ -z "$(star_line "$h")" ] || return 1
  done
}
wait_until 10 joined_gone || fail "the windows of the joined stars stay: $(windows_of 'Pipwink2 Pupil')"
screenshot "tidied"
for h in "${held[@]}"; do
  line=$(shown_line "$h")
  [ -n "$line" ] || continue
  [ "$(echo "$line" | sed 's/.*rect=//; s/ .*//')" = "${rect_before[$h]}" ] || fail "tidy-up moved $h: ${rect_before[$h]} -> $line"
done
[ "$(for h in "${held[@]}"; do [ -n "$(shown_line "$h")" ] && width_of_star "$h"; done | sort | uniq -d)" = "" ] \
  || fail "two stars of one picture are left after tidy-up: $(visible_stars)"
type_more g "tidy-up"
stop_tovik

# Alt+F4 does reach an active window here: the other program, made active by
# a click, closes.
xdotool mousemove 300 300 click 1
wait_until 10 eval 'probe foreground | grep -q "class=Tovik2HookTarget$"' || fail "a click did not make the target active"
xdotool key alt+F4
wait_until 10 has_no_window Tovik2HookTarget || fail "Alt+F4 did not close the active target"
