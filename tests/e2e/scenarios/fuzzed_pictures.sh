# A picture folder of three good pictures among many damaged files, made from
# a fixed seed (FUZZ_SEED overrides it): files cut short at many lengths,
# bytes flipped in the signature, the header, the pixel data and the
# checksums, empty files, headers that declare huge or impossible sizes (with
# correct checksums, so that the sizes themselves are read), other formats
# named .png and a folder named .png. Tovik2 starts, says once that some
# pictures could not be read (naming the first five and counting the rest;
# the folder is no picture), makes stars of the good pictures only, shows
# just the good ones in the settings dialog's test display, and exits with
# code 0.

seed=${FUZZ_SEED:-2718}
echo "fuzzed pictures: seed=$seed"
RANDOM=$seed
pictures=$E2E_WORK/pictures
mkdir -p "$pictures"

# The good ones: sizes that no built-in star has.
picture 20x20 '#ff8000' "$pictures/good_a.png"
picture 28x28 '#20c0ff' "$pictures/good_b.png"
picture 36x36 '#80ff40' "$pictures/good_c.png"

# The model the damaged files are cut from: a 40 x 30 gradient of header,
# pixel data and end only. With no optional chunk, every change lands in a
# chunk the decoder must trust, so that no damaged file may pass for a picture.
model=$E2E_WORK/model.png
convert -size 40x30 gradient:'#ff0000-#0000ff' -define png:exclude-chunks=all "PNG32:$model"
size=$(stat -c %s "$model")
# chunks FILE: "TYPE OFFSET LENGTH" of each chunk, walked from the signature.
chunks() {
  local offset=8 length
  while ((offset + 8 <= $(stat -c %s "$1"))); do
    length=$(od -An -tu4 --endian=big -j "$offset" -N 4 "$1" | tr -d ' ')
    echo "$(dd if="$1" bs=1 skip=$((offset + 4)) count=4 status=none) $offset $length"
    offset=$((offset + 12 + length))
  done
}
layout=$(chunks "$model")
[ "$(cut -d' ' -f1 <<<"$layout" | tr '\n' ' ')" = "IHDR IDAT IEND " ] || fail "the model's chunks: $layout"
read -r _ idat_chunk idat_length <<<"$(grep '^IDAT' <<<"$layout")"
idat=$((idat_chunk + 4))  # the chunk's type; its data follows

# bytes_be32 N: the four bytes of N, most significant first, as printf escapes.
bytes_be32() { printf '\\x%02x\\x%02x\\x%02x\\x%02x' $(($1 >> 24 & 255)) $(($1 >> 16 & 255)) $(($1 >> 8 & 255)) $(($1 & 255)); }
# crc32_be FILE: the CRC-32 of the file's bytes as printf escapes, most
# significant first (gzip keeps it, least significant first, in its trailer).
crc32_be() { gzip -c < "$1" | tail -c 8 | head -c 4 | od -An -tx1 | awk '{printf "\\x%s\\x%s\\x%s\\x%s", $4, $3, $2, $1}'; }
# with_header NAME WIDTH HEIGHT DEPTH COLOUR: the model with another header,
# its checksum made right.
with_header() {
  local body=$E2E_WORK/ihdr.bin
  printf "IHDR$(bytes_be32 "$2")$(bytes_be32 "$3")\\x$(printf %02x "$4")\\x$(printf %02x "$5")\\x00\\x00\\x00" > "$body"
  {
    head -c 8 "$model"
    printf '\x00\x00\x00\x0d'
    cat "$body"
    printf "$(crc32_be "$body")"
    tail -c +34 "$model"
  } > "$pictures/$1"
}
# flipped NAME FROM TO COUNT: the model with COUNT bytes between FROM and TO
# (excluded) changed at random.
flipped() {
  local file=$pictures/$1 i offset old new
  cp "$model" "$file"
  for ((i = 0; i < $4; ++i)); do
    offset=$(($2 + RANDOM % ($3 - $2)))
    old=$(od -An -tu1 -j "$offset" -N 1 "$file" | tr -d ' ')
    new=$(((old ^ (1 + RANDOM % 255)) & 255))
    printf "\\x$(printf %02x "$new")" | dd of="$file" bs=1 seek="$offset" conv=notrunc status=none
  done
}

# Cut short: nothing, inside the signature, the header, the pixel data, the end.
for length in 0 1 7 8 12 20 33 $((idat + 2)) $((idat + 4 + idat_length / 2)) $((size - 12)) $((size - 1)); do
  head -c "$length" "$model" > "$pictures/cut_$length.png"
done
for i in 1 2 3 4 5 6; do
  length=$((RANDOM % size))
  head -c "$length" "$model" > "$pictures/cut_random_${length}_anm.png"
done
# Flipped bytes, a seeded few at a time.
flipped sig.png 0 8 1
flipped ihdr_length.png 8 12 1
flipped ihdr_data_1.png 16 29 1
flipped ihdr_data_2.png 16 29 3
flipped ihdr_crc.png 29 33 1
flipped idat_length.png $((idat - 4)) "$idat" 1
flipped idat_data_1.png $((idat + 4)) $((idat + 4 + idat_length)) 1
flipped idat_data_2_fix.png $((idat + 4)) $((idat + 4 + idat_length)) 4
flipped idat_data_3.png $((idat + 4)) $((idat + 4 + idat_length)) 16
flipped idat_crc.png $((idat + 4 + idat_length)) $((idat + 8 + idat_length)) 1
flipped iend.png $((size - 12)) "$size" 2
flipped anywhere_1.png 0 "$size" 8
flipped anywhere_2_anm_fix.png 0 "$size" 8
# Headers that declare what cannot be: huge, empty, or no such pixel format.
with_header huge_wide.png 2147483647 1 8 6
with_header huge_tall_fix.png 1 2147483647 8 6
with_header huge_both.png 100000 100000 8 6
with_header largest_fix.png 16384 16384 8 6
with_header over_limit.png 16385 30 8 6
with_header zero_width.png 0 30 8 6
with_header zero_height_anm.png 40 0 8 6
with_header depth_3.png 40 30 3 6
with_header colour_7.png 40 30 8 7
with_header palette_without_palette.png 40 30 8 3
with_header sixteen_bits_short.png 40 30 16 6
# Not PNG at all.
echo "not a picture" > "$pictures/text.png"
convert -size 20x20 xc:'#ff0000' "JPEG:$pictures/jpeg.png"
convert -size 20x20 xc:'#ff0000' "GIF:$pictures/gif.png"
head -c 300 /dev/urandom > "$pictures/noise.png"
mkdir "$pictures/folder.png"
echo "the folder: $(ls "$pictures" | wc -l) entries, three good"

unreadable="読み込みできないイメージがありました。"
stars_size_ok() { case "$1" in 20x20 | 28x28 | 36x36) return 0 ;; *) return 1 ;; esac; }
size_of() { echo "$(($(rect_field "$1" 3) - $(rect_field "$1" 1)))x$(($(rect_field "$1" 4) - $(rect_field "$1" 2)))"; }

start_target
write_ini "IMAGEFOLDER=$(windows_path "$pictures")" QUANTITY=4 MOUSEMOVE=0 KEYENTRY=0
# named_ok TEXT: the message names five damaged files, then counts the rest;
# the good pictures and the folder named .png are not among them.
named_ok() {
  local names
  names=$(sed -n '3,7p' <<<"$1")
  [ "$(grep -c '\.png$' <<<"$names")" = 5 ] || return 1
  ! grep -qx 'good_[abc]\.png\|folder\.png' <<<"$1" || return 1
  sed -n '8p' <<<"$1" | grep -qx 'ほか [0-9][0-9]* 件'
}
start_tovik
wait_until 30 has_message_box || fail "no message box came"
full=$(message_text)
text=$(answer_message_box)
[ "$text" = "$unreadable" ] || fail "the message reads: $text"
named_ok "$full" || fail "the message does not name the damaged files: $full"
start_report_done  # the unreadable pictures are reported once
has_window Pipwink2 || fail "Tovik2 is gone"

# Stars of the good pictures only, from clicks in the other program.
wake_target
wait_until 5 stars_rested || fail "stars did not rest"
# Each click is watched apart (the pool reuses the windows of rested stars).
sizes=$(for point in "250 300" "330 260" "280 340" "360 320" "300 280"; do
  watch_stars
  click_target ${point% *} ${point#* }
  watch_result
  echo "$WATCH_REPORT" | grep '^seen=' | while read -r line; do size_of "$line"; done
done)
echo "star sizes: $(sort <<<"$sizes" | uniq -c | tr '\n' ' ')"
[ "$(grep -c . <<<"$sizes")" -ge 5 ] || fail "five clicks made too few stars: $(echo $sizes)"
while read -r size; do stars_size_ok "$size" || fail "a star of no good picture: $size"; done <<<"$sizes"
[ "$(sort -u <<<"$sizes" | wc -l)" -ge 2 ] || fail "the stars show one picture only: $sizes"
screenshot "fuzzed_folder_stars"
wait_until 5 stars_rested || fail "stars did not rest"

# The settings dialog's test display reads the same folder: the damaged files
# are reported again, and only the good pictures show.
tray_menu Down Down Return  # version, (separator), settings
wait_until 20 settings_dialog_shown || fail "Settings did not open the dialog"
[ "$(dialog_item 1010 | sed -n 's/.* text=//p')" = "$(windows_path "$pictures")" ] || fail "the dialog shows another folder: $(dialog_item 1010)"
click_dialog_item 1015
wait_until 30 has_message_box || fail "no message box came"
full=$(message_text)
text=$(answer_message_box)
[ "$text" = "$unreadable" ] || fail "the test display's message reads: $text"
named_ok "$full" || fail "the test display's message does not name the damaged files: $full"
wait_until 10 eval '[ "$(dialog_item 1015 | sed -n "s/.* text=//p")" = "テスト表示" ]' || fail "the test button's caption did not come back"
shown=$(visible_stars)
screenshot "fuzzed_test_display"
[ "$(grep -c . <<<"$shown")" = 3 ] || fail "the test display shows: $shown"
while read -r line; do stars_size_ok "$(size_of "$line")" || fail "the test display shows no good picture: $line"; done <<<"$shown"
! has_message_box || fail "another message came: $(message_box)"
click_dialog_item 2  # Cancel
wait_until 20 eval '! settings_dialog_shown' || fail "Cancel did not close the dialog"
wait_until 10 stars_rested || fail "the test display stayed: $(visible_stars)"

stop_tovik
probe close Tovik2HookTarget >/dev/null
