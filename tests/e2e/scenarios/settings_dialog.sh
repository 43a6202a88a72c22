# The settings dialog, driven as a user does: opened from the tray menu, only
# once, brought forward by a left click on the tray icon; every text it shows
# is the Japanese of its template (the scenario runs under the Japanese locale
# and again under LC_ALL=C.UTF-8), or its English with LANGUAGE=en
# (E2E_LANGUAGE=en, from a program folder named with ソ); the stars stand still while it is open;
# Cancel stores nothing; the up arrow and OK store a new count and leave the
# other keys as they were (a key missing from the file takes its default and
# stays missing); a folder of pictures is typed, shown by the test button
# (whose caption reads "---" meanwhile), and OK restarts the star field with
# it, reacting again although the reaction had been switched off, as the tray
# menu then offers 無効化 again.

# A folder of three pictures of sizes no built-in star has, and a broken file,
# which makes the program say so while it works.
pictures=$E2E_WORK/pictures
mkdir -p "$pictures"
picture 20x20 '#ff8000' "$pictures/a.png"
picture 28x28 '#20c0ff' "$pictures/b.png"
picture 36x36 '#80ff40' "$pictures/c.png"
echo "not a picture" > "$pictures/broken.png"
windows_folder="Z:${pictures//\//\\}"

# Three stars per click, no stars for moves or keys, a small speed range that
# keeps the stars near the click. MOUSECLICK is missing: it takes its default,
# clicks make stars. ENTERKEY=2 is a switch no check box can show as such.
ini=$E2E_PROGRAM/tovik2.ini
# The English run (E2E_LANGUAGE=en) has LANGUAGE=en besides and reads English.
language=${E2E_LANGUAGE:-ja}
language_key=""
[ "$language" = ja ] || language_key="LANGUAGE=$language\r\n"
printf "[PIPWINK]\r\nIMAGEFOLDER=\r\nQUANTITY=3\r\nMOVERANGE=400\r\nMOUSEMOVE=0\r\nKEYENTRY=0\r\nENTERKEY=2\r\n$language_key" > "$ini"
echo "e2e: locale ${LC_ALL:-${LANG:-}}, LANGUAGE $language"
if [ "$language" = en ]; then
  test_caption="Test display" unreadable="Some pictures could not be read." ini_label="Settings file: "
  offers_enable=Enable offers_disable=Disable
  control_texts='OK
Cancel
Mouse
Keyboard (beta)
React to mouse clicks
React to key input
React to mouse movement
Enter key only
Every key
Picture folder (PNG pictures only)

...
Test display
Number of stars

 Stars per click or key
3'
  language_texts='Language
English'
else
  test_caption="テスト表示" unreadable="読み込みできないイメージがありました。" ini_label="設定ファイル: "
  offers_enable=有効化 offers_disable=無効化
  control_texts='OK
キャンセル
マウス
キーボード (β版)
マウスクリックに反応
キー入力に反応
マウスカーソルの動きに反応
エンターキーのみ
全てのキー
イメージフォルダの指定 (PNG 画像のみ)

...
テスト表示
★の数

 1 クリック / タイプで発生する数
3'
  language_texts='言語
日本語'
fi

start_target
start_tovik_ready
tray=$(x_window_named '^Wine System Tray$')
eval "$(xdotool getwindowgeometry --shell "$tray")"
tray_x=$((X + 10)) tray_y=$((Y + 10))
click_x=300 click_y=300  # inside the click target, clear of the dialog

# field NAME LINE: one field of a probe line (text= runs to the end of the line).
field() {
  if [ "$1" = text ]; then sed -n 's/.* text=//p' <<<"$2"; else sed -n "s/.*\\b$1=\\([^ ]*\\).*/\\1/p" <<<"$2"; fi
}
# item ID: the probe line of a control of the settings dialog (ids above 1000
# belong to it alone).
item() { probe item '#32770' "$1"; }
dialog_count() { item 1010 | grep -c 'visible=1' || true; }
dialog_open() { [ "$(dialog_count)" = 1 ]; }
# Gone, and the program knows it: until then input makes no stars.
dialog_gone() { [ "$(dialog_count)" = 0 ] && probe status Pipwink2 | grep -q ' settings=0 '; }
# click_item ID [up|down]: a left click in the middle (or the upper or lower
# quarter) of a control of the dialog.
click_item() {
  local rect
  rect=$(field rect "$(item "$1")")
  IFS=, read -r l t r b <<<"$rect"
  local y=$(((t + b) / 2))
  [ "${2:-}" = up ] && y=$((t + (b - t) / 4))
  [ "${2:-}" = down ] && y=$((t + 3 * (b - t) / 4))
  xdotool mousemove $(((l + r) / 2)) "$y" click 1
}
count_label() { field text "$(item 1014)"; }
# The X window of the dialog: a visible one of its name within its frame.
focus_dialog() {
  local hwnd rect id
  hwnd=$(field hwnd "$(item 1010)")
  rect=$(probe list '#32770' | grep "hwnd=$hwnd " | sed -n 's/.*rect=\([^ ]*\).*/\1/p')
  IFS=, read -r l t r b <<<"$rect"
  for id in $(x_windows_named '^Pipwink2$'); do
    eval "$(xdotool getwindowgeometry --shell "$id")"
    if [ "$X" -ge "$l" ] && [ "$X" -lt "$r" ] && [ "$Y" -ge "$t" ] && [ "$Y" -lt "$b" ]; then
      xdotool windowfocus --sync "$id"
      return 0
    fi
  done
  fail "no X window at the dialog's place $rect"
}
# The flag of a dialog that just closed is cleared a moment after its window
# goes; a command in between is ignored, as it is for a user, who tries again.
open_from_tray() {
  local try
  for try in 1 2 3; do
    xdotool mousemove "$tray_x" "$tray_y" click 3
    wait_until 10 menu_shown || fail "no tray menu"
    screenshot tray_menu
    xdotool key Down Down Return  # version, (separator), settings
    wait_until 10 dialog_open && return 0
    screenshot "tray_open_failed_$try"
    ! menu_shown || xdotool key Escape
  done
  fail "Settings from the tray menu did not open the dialog"
}
visible_stars() { windows_of 'Pipwink2 Pupil' | grep 'visible=1' | sort || true; }
foreground_hwnd() { field hwnd "$(probe foreground)"; }

# --- Opened from the tray menu, once; a left click on the icon brings it forward.
open_from_tray
wait_until 20 dialog_open || fail "Settings did not open the dialog"
dialog=$(field hwnd "$(item 1010)")
screenshot settings_dialog_open
[ "$(count_label)" = 3 ] || fail "the count label shows '$(count_label)', not the stored 3"
[ "$(field text "$(item 1015)")" = "$test_caption" ] || fail "the test button reads '$(field text "$(item 1015)")'"
# Every control's text, read wide from the dialog, is its Japanese; the
# missing MOUSECLICK shows checked (its default), the stored ENTERKEY=2 too.
probe controls "$dialog" > "$E2E_ARTIFACTS/dialog_controls.txt"
texts=$(sed -n 's/.* text=//p' "$E2E_ARTIFACTS/dialog_controls.txt")
expected_texts="$control_texts
$ini_label$(windows_path "$ini")
$language_texts"
[ "$texts" = "$expected_texts" ] || fail "the dialog's texts read: $texts"
grep -q '^id=1003 .*checked=1' "$E2E_ARTIFACTS/dialog_controls.txt" || fail "the missing MOUSECLICK does not show checked"
grep -q '^id=1008 .*checked=1' "$E2E_ARTIFACTS/dialog_controls.txt" || fail "ENTERKEY=2 does not show as Enter only"
xdotool mousemove "$tray_x" "$tray_y" click 3
wait_until 10 menu_shown || fail "no tray menu over the open dialog"
xdotool key Down Down Return
wait_until 10 eval '! menu_shown' || fail "the tray menu stayed"
wait_until 10 eval '[ "$(foreground_hwnd)" != "$dialog" ]' || fail "the tray menu left the dialog in front"
[ "$(dialog_count)" = 1 ] || fail "a second Settings command opened another dialog"
xdotool mousemove "$tray_x" "$tray_y" click 1
wait_until 10 eval '[ "$(foreground_hwnd)" = "$dialog" ]' || fail "a left click on the tray icon did not bring the dialog forward"

# --- Cancel stores nothing.
cp "$ini" "$E2E_WORK/ini.before"
focus_dialog
click_item 1001 up
wait_until 5 eval '[ "$(count_label)" = 4 ]' || fail "the up arrow did not count to 4"
click_item 1010
xdotool type --delay 20 'C:\nowhere'
click_item 2
wait_until 20 dialog_gone || fail "Cancel did not close the dialog"
cmp -s "$ini" "$E2E_WORK/ini.before" || fail "Cancel changed the INI file: $(tr -d '\r' < "$ini")"

# --- Stars stand still while the dialog is open. The dialog is asked for at
# once after the click (through the main window, as the tray menu does), so
# that some stars are still in flight.
# catchable_star: the first frozen star whose middle is on the screen, clear
# of the dialog, of the tray and of every other star (a press there would
# catch whichever of two overlapping stars is on top): "HWND X Y", or nothing.
catchable_star() {
  local line other l t r b cx cy ol ot or ob covered
  IFS=, read -r dl dt dr db <<<"$(probe list '#32770' | grep "hwnd=$(field hwnd "$(item 1010)") " | sed -n 's/.*rect=\([^ ]*\).*/\1/p')"
  while read -r line; do
    [ -n "$line" ] || continue
    IFS=, read -r l t r b <<<"$(field rect "$line")"
    cx=$(((l + r) / 2)) cy=$(((t + b) / 2))
    [ "$cx" -gt 5 ] && [ "$cx" -lt 1275 ] && [ "$cy" -gt 60 ] && [ "$cy" -lt 1020 ] || continue
    [ "$cx" -ge "$dl" ] && [ "$cx" -lt "$dr" ] && [ "$cy" -ge "$dt" ] && [ "$cy" -lt "$db" ] && continue
    covered=0
    while read -r other; do
      [ -n "$other" ] && [ "$other" != "$line" ] || continue
      IFS=, read -r ol ot or ob <<<"$(field rect "$other")"
      if [ "$cx" -ge "$ol" ] && [ "$cx" -lt "$or" ] && [ "$cy" -ge "$ot" ] && [ "$cy" -lt "$ob" ]; then covered=1; fi
    done <<<"$frozen"
    [ $covered = 0 ] || continue
    echo "$(field hwnd "$line") $cx $cy"
    return 0
  done <<<"$frozen"
}
frozen="" catch=""
for attempt in 1 2 3 4 5 6; do
  # The dialog is asked for through the main window, as the tray menu does,
  # while the click's stars fly.
  probe_on_click "$click_x" "$click_y" command_on_flight "Pipwink2 Pupil" Pipwink2 129 10000 >/dev/null ||
    fail "the click's stars did not fly"
  wait_until 20 dialog_open || fail "the settings command did not open the dialog"
  frozen=$(visible_stars)
  catch=$(catchable_star)
  [ -n "$catch" ] && break
  click_item 2
  wait_until 20 dialog_gone || fail "Cancel did not close the dialog"
  wait_until 10 eval '[ -z "$(visible_stars)" ]' || fail "stars did not come to rest"
done
[ -n "$catch" ] || fail "no star was in flight on the screen when the dialog opened: $frozen"
# Ten motion ticks pass (the timer runs on, the stars stand).
probe ticks Pipwink2 10 30000 > "$E2E_WORK/ticks.log" || fail "no ten ticks passed while the dialog was open: $(cat "$E2E_WORK/ticks.log")"
grep -q '^moving=1 ' "$E2E_WORK/ticks.log" || fail "the motion timer stopped while stars were in flight: $(cat "$E2E_WORK/ticks.log")"
[ "$(visible_stars)" = "$frozen" ] || fail "stars moved while the dialog was open: $frozen / $(visible_stars)"

# Catch one of them: caught stars stay where they are.
read -r grabbed cx cy <<<"$catch"
xdotool mousemove "$cx" "$cy" click 1

# --- The up arrow and OK store the new count.
focus_dialog
click_item 1001 up
wait_until 5 eval '[ "$(count_label)" = 4 ]' || fail "the up arrow did not count to 4"
click_item 1001 up
wait_until 5 eval '[ "$(count_label)" = 5 ]' || fail "the up arrow did not count to 5"
click_item 1
wait_until 20 dialog_gone || fail "OK did not close the dialog"
tr -d '\r' < "$ini" | grep -qx 'QUANTITY=5' || fail "the INI does not hold QUANTITY=5: $(tr -d '\r' < "$ini")"
# Only the count was touched: the other keys stay as they were, the missing one missing.
tr -d '\r' < "$ini" | grep -qx 'ENTERKEY=2' || fail "OK changed ENTERKEY=2: $(tr -d '\r' < "$ini")"
! tr -d '\r' < "$ini" | grep -q '^MOUSECLICK=' || fail "OK wrote the missing MOUSECLICK: $(tr -d '\r' < "$ini")"
# The others fly on and come to rest; the caught one stays.
wait_until 10 eval '[ "$(field hwnd "$(visible_stars)")" = "$grabbed" ]' \
  || fail "after OK the visible stars are not just the caught one ($grabbed): $(visible_stars)"

# --- A typed folder, the test display, and OK restarting the star field,
# which reacts again although the reaction was switched off before.
probe command Pipwink2 114 >/dev/null  # the tray menu's 無効化
tray_menu_offers "$offers_enable"
open_from_tray
wait_until 20 dialog_open || fail "Settings did not open the dialog again"
focus_dialog
click_item 1010
xdotool type --delay 20 "$windows_folder"
wait_until 5 eval '[ "$(field text "$(item 1010)")" = "$windows_folder" ]' \
  || fail "the folder edit holds '$(field text "$(item 1010)")'"
click_item 1015
# The broken file is reported while the display is being prepared.
wait_until 20 has_message_box || fail "the broken file was not reported"
[ "$(field text "$(item 1015)")" = "---" ] || fail "the test button reads '$(field text "$(item 1015)")' while it works"
text=$(answer_message_box)
[ "$text" = "$unreadable" ] || fail "the test display's message reads: $text"
wait_until 10 eval '[ "$(field text "$(item 1015)")" = "$test_caption" ]' || fail "the test button's caption did not come back"
test_stars=$(visible_stars | grep -v "hwnd=$grabbed " || true)
[ "$(grep -c . <<<"$test_stars")" = 3 ] || fail "the test display shows: $test_stars"
# Side by side: one row, left to right, 4 pixels apart, each at its own size.
prev_right="" widths=""
while read -r line; do
  IFS=, read -r l t r b <<<"$(field rect "$line")"
  echo "$l $t $r $b"
done <<<"$test_stars" | sort -n > "$E2E_WORK/test_display.txt"
[ "$(cut -d' ' -f2 "$E2E_WORK/test_display.txt" | sort -u | wc -l)" = 1 ] || fail "the test pictures are not in one row: $(cat "$E2E_WORK/test_display.txt")"
while read -r l t r b; do
  [ -z "$prev_right" ] || [ "$l" = $((prev_right + 4)) ] || fail "the test pictures are not side by side: $(cat "$E2E_WORK/test_display.txt")"
  prev_right=$r widths="$widths $((r - l))"
done < "$E2E_WORK/test_display.txt"
[ "$(tr ' ' '\n' <<<"$widths" | grep . | sort -n | tr '\n' ' ')" = "20 28 36 " ] || fail "test picture widths:$widths"
screenshot settings_dialog
# The pictures are drawn: each window's centre shows one of the three colours.
while read -r l t r b; do
  colour=$(colour_at "$E2E_ARTIFACTS/settings_dialog.png" $(( (l + r) / 2 )) $(( (t + b) / 2 )))
  case "$colour" in
    255,128,0|32,192,255|128,255,64) ;;
    *) fail "a test picture at $l,$t is not drawn (centre $colour)" ;;
  esac
done < "$E2E_WORK/test_display.txt"

click_item 1
text=$(answer_message_box)  # the restart reads the folder again, broken file included
[ "$text" = "$unreadable" ] || fail "the restart's message reads: $text"
wait_until 20 dialog_gone || fail "OK did not close the dialog"
tr -d '\r' < "$ini" | grep -qxF "IMAGEFOLDER=$windows_folder" || fail "the INI does not hold the folder: $(tr -d '\r' < "$ini")"
# Every star window goes, the caught one included.
wait_until 10 has_no_window 'Pipwink2 Pupil' || fail "star windows are left after the restart: $(windows_of 'Pipwink2 Pupil')"

# The star field is new: a click makes five stars, all of the folder's pictures.
# The target has taken the click once the program has made its stars.
before=0
click_target "$click_x" "$click_y"
stars=$(windows_of 'Pipwink2 Pupil')
[ "$(grep -c . <<<"$stars")" = $((before + 5)) ] || fail "a click made $(($(grep -c . <<<"$stars") - before)) stars: $stars"
while read -r line; do
  IFS=, read -r l t r b <<<"$(field rect "$line")"
  case "$((r - l))x$((b - t))" in
    20x20 | 28x28 | 36x36) ;;
    *) fail "a star of no picture of the folder: $line" ;;
  esac
done <<<"$stars"
# The tray menu says so too: it offers to disable.
tray_menu_offers "$offers_disable"

probe close Pipwink2 >/dev/null
wait_until 20 process_gone "$TOVIK_PID" || fail "Tovik2 did not exit"

# --- The next start reads back what OK saved, from the file beside the
# program that the dialog names (the English run's program folder holds a
# name its code page cannot spell).
echo "e2e: program folder $E2E_PROGRAM"
start_tovik_ready
text=$(answer_message_box)  # the folder's broken file, told once its load ends
[ "$text" = "$unreadable" ] || fail "the start's message reads: $text"
open_from_tray
[ "$(count_label)" = 5 ] || fail "the next start shows the count '$(count_label)', not the saved 5"
[ "$(field text "$(item 1010)")" = "$windows_folder" ] || fail "the next start shows the folder '$(field text "$(item 1010)")'"
label=$(field text "$(item 260)")
[ "$label" = "$ini_label$(windows_path "$ini")" ] || fail "the dialog names the settings file as: $label"
screenshot settings_dialog_again
click_item 2
wait_until 20 dialog_gone || fail "Cancel did not close the dialog"
probe close Pipwink2 >/dev/null
wait_until 20 process_gone "$TOVIK_PID" || fail "Tovik2 did not exit"
probe close Tovik2HookTarget >/dev/null
