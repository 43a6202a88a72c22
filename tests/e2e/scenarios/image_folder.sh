# A folder of pictures named in the INI: "_fix" pictures keep their size, an
# "_anm" strip is cut into square frames, other pictures are reduced to fit
# 72 x 72; a broken file is reported once at start, by name, and a subfolder
# named like a picture is passed over. A folder with nothing readable is
# reported (and the settings dialog's test display says it has nothing to
# show), and the built-in stars are used instead; so is a folder that does
# not exist, which is told as such. A folder of big pictures loads while the
# program answers, the built-in star standing in until it is ready.

pictures=$E2E_WORK/pictures
mkdir -p "$pictures"
# Without a background-colour chunk, so that the pictures keep their alpha.
nobkgd=(-define png:exclude-chunks=bKGD)
convert -size 100x100 xc:'#ff8000' "${nobkgd[@]}" "PNG32:$pictures/big_fix.png"
convert -size 48x48 xc:'#20c0ff' -size 48x48 xc:'#80ff40' -size 48x48 xc:'#ff40a0' \
  -size 48x48 xc:'#ffff00' -size 48x48 xc:'#a040ff' +append "${nobkgd[@]}" "PNG32:$pictures/spin_anm_fix.png"
convert -size 200x100 gradient:'#ff0000-#0000ff' "${nobkgd[@]}" "PNG32:$pictures/plain.png"
head -c 300 "$pictures/plain.png" > "$pictures/broken.png"  # a truncated picture
mkdir "$pictures/album.png"  # a folder, not a picture


# sizes_of_clicks N: clicks N times in the target; prints the sizes (WxH) of
# every star window seen.
# Each click is watched apart: once its stars rest, the next click may show
# the same windows again (the pool reuses resting stars).
sizes_of_clicks() {
  local i
  for ((i = 0; i < $1; ++i)); do
    watch_stars
    click_target $((250 + 20 * i)) 300
    watch_result
    echo "$WATCH_REPORT" | grep '^seen=' | while read -r line; do
      echo "$(($(rect_field "$line" 3) - $(rect_field "$line" 1)))x$(($(rect_field "$line" 4) - $(rect_field "$line" 2)))"
    done
  done
}

# clicks_show N WHAT SIZE...: N clicks make at least N stars, each of one of
# the sizes (WHAT names them when one is not); leaves the sizes in SIZES.
clicks_show() {
  local n=$1 what=$2 size
  shift 2
  SIZES=$(sizes_of_clicks "$n")
  echo "star sizes: $(sort <<<"$SIZES" | uniq -c | tr '\n' ' ')"
  [ "$(grep -c . <<<"$SIZES")" -ge "$n" ] || fail "$n clicks made too few stars: $SIZES"
  while read -r size; do
    [[ " $* " == *" $size "* ]] || fail "a star of no $what: $size"
  done <<<"$SIZES"
}

start_target

# --- The folder with a broken file: one message at start, then stars of the
# folder's three sizes only.
write_ini "IMAGEFOLDER=$(windows_path "$pictures")" QUANTITY=4 MOUSEMOVE=0
start_tovik
wait_until 30 has_message_box || fail "no message box came"
full=$(message_text)
[ "$full" = "$(printf '読み込みできないイメージがありました。\n\nbroken.png')" ] || fail "the message reads: $full"
text=$(answer_message_box)
start_report_done  # the unreadable picture is reported once
wake_target
wait_until 5 stars_rested || fail "stars did not rest"
clicks_show 6 "picture of the folder" 100x100 48x48 72x35
[ "$(sort -u <<<"$SIZES" | wc -l)" -ge 2 ] || fail "the stars show one picture only: $SIZES"
screenshot "folder_stars"
! has_message_box || fail "a message box came while clicking"
stop_tovik

# --- A folder of broken files only: the built-in stars, after a message.
rm -r "$pictures"/*.png  # the pictures and the folder named like one
echo "not a picture" > "$pictures/one.png"
head -c 8 /dev/urandom > "$pictures/two.png"
write_ini "IMAGEFOLDER=$(windows_path "$pictures")" QUANTITY=4 MOUSEMOVE=0
start_tovik
texts=""
for n in 1 2; do
  wait_until 30 has_message_box || fail "no message box came"
  full=$(message_text)
  text=$(answer_message_box)
  texts="$texts[$text]"
  case "$text" in 設定されたフォルダ内の画像ファイルを全く認識できませんでした。*) break ;; esac
done
case "$texts" in
  *"[設定されたフォルダ内の画像ファイルを全く認識できませんでした。"*) ;;
  *) fail "no message that nothing was recognised: $texts" ;;
esac
# The files that could not be read are named.
grep -qx one.png <<<"$full" && grep -qx two.png <<<"$full" || fail "the message names no file: $full"
start_report_done
wake_target
wait_until 5 stars_rested || fail "stars did not rest"
clicks_show 4 "built-in picture" 72x72 48x48 32x32

# The test display of the same folder shows nothing and says so.
wait_until 5 stars_rested || fail "stars did not rest"
tray_menu Down Down Return  # version, (separator), settings
wait_until 20 settings_dialog_shown || fail "Settings did not open the dialog"
click_dialog_item 1015
wait_until 30 has_message_box || fail "the empty test display said nothing"
full=$(message_text)
text=$(answer_message_box)
[ "$text" = "フォルダ内に表示できる画像がありません。" ] || fail "the test display's message reads: $full"
grep -qx one.png <<<"$full" || fail "the test display's message names no file: $full"
[ -z "$(visible_stars)" ] || fail "the empty test display shows: $(visible_stars)"
click_dialog_item 2  # Cancel
wait_until 20 eval '! settings_dialog_shown' || fail "Cancel did not close the dialog"
stop_tovik

# --- A folder that does not exist: told as such, then the built-in stars.
write_ini "IMAGEFOLDER=$(windows_path "$E2E_WORK/no_such_folder")" QUANTITY=4 MOUSEMOVE=0
start_tovik
wait_until 30 has_message_box || fail "no message box came"
full=$(message_text)
answer_message_box >/dev/null
expected="$(printf '指定されたフォルダが見つかりません。\n%s\nデフォルトの画像を使用します。' "$(windows_path "$E2E_WORK/no_such_folder")")"
[ "$full" = "$expected" ] || fail "the missing folder's message reads: $full"
start_report_done
stop_tovik

# --- A folder of big pictures loads in the background: meanwhile the tray
# menu answers and clicks make built-in stars; when it has loaded, its broken
# file is told and clicks make stars of its pictures (72 x 35). Sized to take
# several seconds here; the checks meanwhile take about as long again.
big=$E2E_WORK/big
mkdir -p "$big"
convert -size 4096x2048 gradient:'#ff8000-#2040ff' "${nobkgd[@]}" "PNG32:$big/p00.png"
for ((i = 1; i < 60; ++i)); do cp "$big/p00.png" "$big/p$(printf %02d $i).png"; done
echo "not a picture" > "$big/broken.png"
write_ini "IMAGEFOLDER=$(windows_path "$big")" QUANTITY=4 MOUSEMOVE=0
started=$(date +%s%N)
start_tovik
tovik_ready
loading() { probe status Pipwink2 | grep -q ' loading=1 '; }
loading || fail "the folder had loaded before the program was ready: too few pictures to watch the load"
tray_menu Escape
loading || fail "the folder had loaded before the tray menu was tried: too few pictures to watch the load"
wake_target
clicks_show 2 "built-in picture while the folder loaded" 72x72 48x48 32x32
loading || fail "the folder had loaded before the clicks were seen: too few pictures to watch the load"
echo "the clicks were seen $(( ($(date +%s%N) - started) / 1000000 )) ms after the start, while the folder loaded"
wait_until 120 has_message_box || fail "the folder did not finish loading"
echo "loaded: its message shows $(( ($(date +%s%N) - started) / 1000000 )) ms after the start"
full=$(message_text)
[ "$full" = "$(printf '読み込みできないイメージがありました。\n\nbroken.png')" ] || fail "the message reads: $full"
answer_message_box >/dev/null
start_report_done
wait_until 10 stars_rested || fail "stars did not rest"
clicks_show 2 "picture of the folder after it loaded" 72x35
screenshot "big_folder_stars"
stop_tovik
probe close Tovik2HookTarget >/dev/null
