# The chase game as a player meets it. Every first press on a star makes the
# last star of that press stand still for three ticks; pressing it then gives
# it the chain's value as a number, and the value doubles with every catch:
# 2, then 4. A chased star that gets away starts the chain again at 2. A caught
# star follows a drag and stays where it is let go, number and all.
#
# The probe plays the rounds: it sees at once which star stands still and
# presses it from inside Wine, and lets each star go where it was caught (a
# star that would join another there is left to get away, and the chase is
# played anew). The scenario then drags every caught star to a row of its
# own, where the numbers are read from a screenshot.

# One opaque picture: every star is 72 x 72 and shows its number in large
# digits, black on the light picture.
pictures=$E2E_WORK/pictures
mkdir -p "$pictures"
picture 72x72 "#f0d060" "$pictures/star.png"
write_ini "IMAGEFOLDER=$(windows_path "$pictures")" QUANTITY=2 MOUSEMOVE=0 KEYENTRY=0

# The black digits of the program's own artwork, one template per digit.
art=$(cd "$(dirname "${BASH_SOURCE[0]}")/../../../res/art" && pwd)
for d in 0 1 2 3 4 5 6 7 8 9; do
  convert "$art/digits.png" -crop "24x32+$((24 * d))+0" +repage -background white -flatten \
    -colorspace gray -threshold 25% "$E2E_WORK/digit$d.png"
done

# dark_pixels SHOT RECT_LINE WxH+X+Y: how many pixels of that part of the
# star's window are dark on the screenshot (the part is left in part.png).
dark_pixels() {
  local left top w h x y
  left=$(rect_field "$2" 1) top=$(rect_field "$2" 2)
  IFS='x+' read -r w h x y <<<"$3"
  convert "$1" -crop "${w}x${h}+$((left + x))+$((top + y))" +repage -colorspace gray -threshold 25% \
    "$E2E_WORK/part.png"
  convert "$E2E_WORK/part.png" -negate -format '%[fx:round(mean*w*h)]' info:
}

# number_shown SHOT RECT_LINE: the number that the star of the line shows on
# the screenshot, if it has one digit: "none" when its bottom edge holds
# nothing dark, "longer" when something dark stands left of the last digit's
# place (the bottom-right 24 x 32 pixels).
number_shown() {
  local corner=$E2E_WORK/corner.png d differ best=none least
  if (( $(dark_pixels "$1" "$2" 72x32+0+40) < 5 )); then echo none; return; fi
  if (( $(dark_pixels "$1" "$2" 48x32+0+40) > 0 )); then echo longer; return; fi
  dark_pixels "$1" "$2" 24x32+48+40 >/dev/null
  mv "$E2E_WORK/part.png" "$corner"
  least=$((24 * 32))
  for d in 0 1 2 3 4 5 6 7 8 9; do
    differ=$(compare -metric AE "$corner" "$E2E_WORK/digit$d.png" null: 2>&1 || true)
    if (( differ < least )); then least=$differ best=$d; fi
  done
  # The same artwork at the same size: only edge pixels may differ.
  (( least < 20 )) || { echo "unclear($best:$least)"; return; }
  echo "$best"
}

# only_kept_show: every star that shows is a caught one (in KEPT).
KEPT=()
only_kept_show() {
  local line
  while read -r line; do
    [ -n "$line" ] || continue
    [[ " ${KEPT[*]} " == *" ${line%% *} "* ]] || return 1
  done < <(visible_stars | sed 's/^hwnd=//')
}

# caught_in REPORT: the stars that a chase report names, caught first.
caught_in() { echo "$1" | sed -n 's/^\(caught\|chased\)=\(0x[0-9a-f]*\).*/\2/p'; }

# chase ROUNDS: a click in the target, then the probe catches one of its stars
# and plays ROUNDS rounds; its report in CHASE. A first press that missed is
# tried again with a new click. A chase that gave up (its still star would
# have joined a caught one, or could not be reached) lets that star get away,
# which starts the chain again: the next try plays all its rounds anew, from
# another point.
points=("300 250" "260 220" "340 280" "260 280" "340 220")
next_point=0
chase() {
  local tries rc
  for tries in 1 2 3 4 5 6 7 8 9 10; do
    rc=0
    CHASE=$(probe_on_click ${points[next_point % ${#points[@]}]} chase "Pipwink2 Pupil" 10000 "$1" "${KEPT[@]}") || rc=$?
    next_point=$((next_point + 1))
    echo "$CHASE"
    KEPT+=($(caught_in "$CHASE"))
    [ $rc = 0 ] && return 0
    [ $rc = 1 ] || [ $rc = 3 ] || [ $rc = 4 ] || { screenshot "chase_lost"; fail "the chase lost its way: $CHASE"; }
    wait_until 5 only_kept_show || fail "stars did not rest: $(visible_stars)"
  done
  fail "no chase of $1 rounds could be played"
}

# shelve HWND: drags the caught star, by a point that no other star covers,
# to the next free place on a row along the bottom of the screen; it follows
# the pointer and stays where it is let go.
SHELVED=()
next_place=0
shelve() {
  local star=$1 line left top to_left to_top=880 step dropped dx dy
  line=$(star_line "$star")
  left=$(rect_field "$line" 1) top=$(rect_field "$line" 2)
  while :; do
    to_left=$((40 + 110 * next_place)); next_place=$((next_place + 1))
    (( to_left < 1200 )) || fail "no free place left on the row"
    place_is_free "$to_left" "$to_top" && break
  done
  read -r dx dy < <(free_point "$star" "$line")
  [ -n "$dx" ] || fail "star $star is covered by others: $(visible_stars)"
  xdotool mousemove $((left + dx)) $((top + dy)) mousedown 1
  for step in 1 2 3 4 5 6; do
    xdotool mousemove $((left + dx + (to_left - left) * step / 6)) $((top + dy + (to_top - top) * step / 6))
    sleep 0.03
  done
  xdotool mouseup 1
  dropped="visible=1 rect=$to_left,$to_top,$((to_left + 72)),$((to_top + 72)) "
  wait_until 5 eval 'star_line "$star" | grep -q "$dropped"' || \
    fail "the dragged star is not where it was let go ($dropped): $(star_line "$star")"
  # The press made stars too; once they rest, the star still lies there.
  wait_until 5 only_kept_show || fail "stars did not rest: $(visible_stars)"
  star_line "$star" | grep -q "$dropped" || fail "the dropped star moved on: $(star_line "$star")"
  SHELVED+=("$star")
}
# free_point HWND LINE: a point of the star (as "DX DY" from its corner) on
# the screen that no other shown star covers, the middle if it can be.
free_point() {
  local point other covered
  for point in "36 36" "36 14" "14 36" "58 36" "36 58" "14 14" "58 14" "14 58" "58 58"; do
    (( $(rect_field "$2" 1) + ${point% *} >= 0 && $(rect_field "$2" 2) + ${point#* } >= 0 )) || continue
    covered=0
    while read -r other; do
      [ -n "$other" ] || continue
      (( $(rect_field "$other" 1) <= $(rect_field "$2" 1) + ${point% *} &&
         $(rect_field "$2" 1) + ${point% *} < $(rect_field "$other" 3) &&
         $(rect_field "$other" 2) <= $(rect_field "$2" 2) + ${point#* } &&
         $(rect_field "$2" 2) + ${point#* } < $(rect_field "$other" 4) )) && covered=1
    done < <(visible_stars | grep -v "hwnd=$1 ")
    [ $covered = 0 ] && { echo "$point"; return; }
  done
}
# place_is_free LEFT TOP: no shown star within 80 pixels of a star placed there.
place_is_free() {
  local other
  while read -r other; do
    [ -n "$other" ] || continue
    (( $(rect_field "$other" 1) - $1 < 80 && $1 - $(rect_field "$other" 1) < 80 &&
       $(rect_field "$other" 2) - $2 < 80 && $2 - $(rect_field "$other" 2) < 80 )) && return 1
  done < <(visible_stars)
  return 0
}
# shelve_all HWND...: each of the caught stars, topmost first.
shelve_all() {
  local hwnd next
  while :; do
    next=""
    for hwnd in $(visible_stars | sed 's/^hwnd=\([^ ]*\).*/\1/'); do
      if [[ " $* " == *" $hwnd "* && " ${SHELVED[*]} " != *" $hwnd "* ]]; then next=$hwnd; break; fi
    done
    [ -n "$next" ] || break
    shelve "$next"
  done
  [ ${#SHELVED[@]} = $# ] || fail "caught stars went missing: $*, shelved ${SHELVED[*]}"
}

# numbers_shown SHOT REPORT: the numbers that the stars of a chase report show
# (caught first, then chased), one per line.
numbers_shown() {
  local hwnd
  for hwnd in $(caught_in "$2"); do
    number_shown "$1" "$(star_line "$hwnd")"
  done
}

start_target
start_tovik_ready
wake_target
wait_until 5 stars_rested || fail "stars did not rest"

# --- Two rounds; the star of the last press is not caught.
chase 2
first=$CHASE
# It stood still while its fellow moved for three ticks (four when the probe
# saw the fellow's fourth move a moment before its own first).
held=$(echo "$first" | sed -n 's/^held=.* steps=//p')
(( held >= 3 )) || fail "the chased star stood still for $held ticks only: $first"
# It gets away and rests like any other star, which starts the chain again.
wait_until 5 only_kept_show || fail "stars did not rest: $(visible_stars)"
screenshot "first_chase"

# The caught stars follow a drag to a row of their own, where their numbers
# can be read: the first catch shows none (the chain stood at 1), the chased
# stars 2 and 4.
shelve_all $(caught_in "$first")
screenshot "first_shelved"
shown=$(numbers_shown "$E2E_ARTIFACTS/first_shelved.png" "$first" | tr '\n' ' ')
[ "$shown" = "none 2 4 " ] || fail "the first chase's stars show $shown, not none 2 4"

# --- One round after the escape pays 2 again.
chase 1
second=$CHASE
wait_until 5 only_kept_show || fail "stars did not rest: $(visible_stars)"
SHELVED=()
shelve_all $(caught_in "$second")
screenshot "second_shelved"
shown=$(numbers_shown "$E2E_ARTIFACTS/second_shelved.png" "$second" | tr '\n' ' ')
[ "$shown" = "none 2 " ] || fail "after the escape the stars show $shown, not none 2"

# Closing takes a while with many caught stars (see stop_tovik).
stop_tovik $((20 + 3 * ${#KEPT[@]}))
