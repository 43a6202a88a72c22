# Key presses at the caret of another program's edit control make stars just
# below the caret. By default only Return does, QUANTITY stars each; with
# ENTERKEY=0 in the INI every key press does (one the program has not been
# told of yet takes those that follow it in).

target_log=$E2E_WORK/target.log
start_target
read -r _ _ _ editrect <<<"$(tr -d '\r' < "$target_log" | grep '^target=')"
IFS=, read -r eleft etop eright ebottom <<<"${editrect#editrect=}"
ex=$(((eleft + eright) / 2)) ey=$(((etop + ebottom) / 2))

keydowns() { tr -d '\r' < "$target_log" | grep -c '^keydown ' || true; }

# focus_edit: the target in front and the caret in its edit control; the
# stars of the click come to rest before the keys start.
focus_edit() {
  xdotool windowfocus --sync "$(x_window_named '^hook target$')"
  wake_target
  click_target "$ex" "$ey"
  # Its stars show under the pointer: once they have flown off and rested,
  # the target takes the small steps.
  stars_still || fail "the stars of the click did not rest: $(cat "$E2E_WORK/quiet.log")"
  # The jump to the edit control was a fast step: a window showing under the
  # pointer later makes Wine repeat the pointer's place, a sudden stop that
  # makes a star. Two small steps leave nothing to stop from.
  move_target $((ex + 1)) "$ey"
  move_target $((ex + 2)) "$ey"
  program_quiet || fail "the stars of the click did not rest: $(cat "$E2E_WORK/quiet.log")"
}

# check_near_caret N: the last N key presses the target took had a caret, and
# every star the last watch saw started near a point just below one of them.
check_near_caret() {
  local presses line cx cy ok
  presses=$(tr -d '\r' < "$target_log" | grep '^keydown ' | tail -n "$1")
  ! grep -q ' none$' <<<"$presses" || fail "the target had no caret: $presses"
  while read -r line; do
    ok=0
    while read -r _ _ cx cy; do
      near_point "$cx" $((cy + 8)) 110 "$line" && ok=1
    done <<<"$presses"
    [ "$ok" = 1 ] || fail "a star started far from the caret: $line (presses: $presses)"
    # The point is below the caret: a star that starts upward still reaches
    # below the caret's line.
    (( $(rect_field "$line" 4) > cy )) || fail "a star started above the caret: $line"
  done < <(echo "$WATCH_REPORT" | grep '^seen=')
}

# --- The default INI: Enter only.
start_tovik_ready
wait_until 10 ini_written || fail "no INI file was written"
tr -d '\r' < "$E2E_PROGRAM/tovik2.ini" | grep -qx 'ENTERKEY=1' || fail "the default INI is not Enter-only"
focus_edit

before=$(keydowns)
watch_stars
xdotool type --delay 60 abcde
wait_until 5 eval '[ $(keydowns) -ge $((before + 5)) ]' || fail "the target did not take the letters"
watch_result
[ "$(watched_count)" = 0 ] || fail "letters made stars in Enter-only mode: $WATCH_REPORT"

before=$(keydowns)
watch_stars
xdotool key Return
wait_until 5 eval '[ $(keydowns) -ge $((before + 1)) ]' || fail "the target did not take Return"
watch_result
[ "$(watched_count)" = 2 ] || fail "Return did not make QUANTITY (2) stars: $WATCH_REPORT"
check_near_caret 1
screenshot "keys_enter"
wait_until 5 stars_rested || fail "the stars of Return did not rest"
stop_tovik

# --- ENTERKEY=0: every key, with no clicks to muddle the count.
write_ini MOUSECLICK=0 MOUSEMOVE=0 ENTERKEY=0 QUANTITY=3
start_tovik_ready
focus_edit
# A key that comes while the report of the one before still waits for the
# program is merged into it, so each letter's stars are waited for apart.
for letter in x y z; do
  before=$(keydowns)
  watch_stars
  xdotool type "$letter"
  wait_until 5 eval '[ $(keydowns) -ge $((before + 1)) ]' || fail "the target did not take the letter $letter"
  watch_result
  [ "$(watched_count)" = 3 ] || fail "the letter $letter did not make 3 stars in all-keys mode: $WATCH_REPORT"
  check_near_caret 1
  echo "letter $letter: $(watched_count) stars near the caret"
done
wait_until 5 stars_rested || fail "the stars of the keys did not rest"

# KEYENTRY=0: keys make nothing.
stop_tovik
write_ini MOUSECLICK=0 MOUSEMOVE=0 KEYENTRY=0 ENTERKEY=0
start_tovik_ready
focus_edit
before=$(keydowns)
watch_stars
xdotool type --delay 60 pq
xdotool key Return
wait_until 5 eval '[ $(keydowns) -ge $((before + 3)) ]' || fail "the target did not take the keys"
watch_result
[ "$(watched_count)" = 0 ] || fail "keys made stars with KEYENTRY=0: $WATCH_REPORT"
stop_tovik
probe close Tovik2HookTarget >/dev/null
