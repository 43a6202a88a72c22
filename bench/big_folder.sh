# Measured by hand, never by ctest: how long Tovik2 takes to load a folder of
# big pictures, what the user gets meanwhile (does the main window answer, do
# clicks make stars and which), and whether it still runs past the watchdog's
# ten seconds. Run it through the scenario runner, inside the Wine environment
# (scripts/wine-env.sh):
#   BIG_COUNT=60 BIG_SIZE=4096 bash tests/e2e/run_scenario.sh bench/big_folder.sh \
#     build/windows/bin build/windows/tests/e2e/probe.exe build/windows/bench/big_folder
# with E2E_TOOLS=build/windows/tests/e2e in the environment (the program the
# clicks land on). BIG_COUNT copies of one BIG_SIZE x BIG_SIZE picture are made
# in the work folder, with one broken file beside them: the message about it
# comes when the load ends, which is how the end is seen from outside.
# The floors, in the same run: the start with the built-in star only, from
# Tovik2's start until its main window answers from its loop; and a native
# decoder's reference, ImageMagick reading one picture and shrinking it to a
# star, times the count.

count=${BIG_COUNT:-60}
size=${BIG_SIZE:-4096}
mkdir -p "$E2E_WORK/pictures"
folder=$(cd "$E2E_WORK/pictures" && pwd)  # Wine is given the whole path
convert -size "${size}x${size}" gradient:'#ff8000-#2040ff' \( -size "${size}x${size}" radial-gradient:white-black \) \
  -compose multiply -composite -define png:exclude-chunks=bKGD "PNG32:$folder/p0.png"
for ((i = 1; i < count; ++i)); do cp "$folder/p0.png" "$folder/p$i.png"; done
echo "not a picture" > "$folder/broken.png"
echo "big_folder: $count pictures of ${size}x${size} and a broken file, $(du -sh "$folder" | cut -f1)"
now_ms() { echo $(( $(date +%s%N) / 1000000 )); }

t0=$(now_ms)
convert "$folder/p0.png" -resize 72x72 null:
reference=$(( ($(now_ms) - t0) * count ))
echo "reference: ImageMagick natively, one picture to a star, times $count: ${reference} ms"

start_target
write_ini IMAGEFOLDER= QUANTITY=4 MOUSEMOVE=0
t0=$(now_ms)
start_tovik
probe ready Pipwink2 600000 >/dev/null || fail "Tovik2 did not get ready"
floor=$(( $(now_ms) - t0 ))
wait_until 20 tray_shown || fail "no tray icon"
stop_tovik
echo "floor: built-in star, start to ready ${floor} ms"

# sizes_seen LOG: the star sizes (WxH) a sampler saw, with their window counts.
sizes_seen() { grep '^picture=' "$1" | sed 's/^picture=\([0-9x]*\) .* peak_windows=\([0-9]*\).*/\1:\2/' | tr '\n' ' '; }

write_ini "IMAGEFOLDER=$(windows_path "$folder")" QUANTITY=4 MOUSEMOVE=0
t0=$(now_ms)
start_tovik
# The load's end: when the message about the broken file shows (watched from
# the start, before a key pressed in the tray menu could meet the box).
( wait_until 600 has_message_box && echo $(( $(now_ms) - t0 )) > "$E2E_WORK/loaded_at" ) &
_e2e_pids+=($!)
wait_until 60 tray_shown || fail "no tray icon"
shown=$(( $(now_ms) - t0 ))
probe ready Pipwink2 600000 >/dev/null || fail "Tovik2 did not get ready"
ready=$(( $(now_ms) - t0 ))
# While it loads: the main window is pinged every 100 ms, the star windows
# are sampled, the tray menu is asked for and clicks land on the target.
stop=$E2E_WORK/stop_loading
wine "$E2E_WORK/probe.exe" sample "Pipwink2 Pupil" Pipwink2 600000 "$(windows_path "$stop")" > "$E2E_WORK/loading.log" &
sampler=$!
wait_until 20 grep -q sampling "$E2E_WORK/loading.log" 2>/dev/null || fail "the sampler did not start"
tray=$(xdotool search --onlyvisible --name '^Wine System Tray$' | head -n 1)
eval "$(xdotool getwindowgeometry --shell "$tray")"
asked=$(now_ms)
xdotool mousemove $((X + 10)) $((Y + 10)) click 3
wait_until 600 eval 'windows_of "#32768" | grep -q "visible=1"' || fail "the tray menu never opened"
menu=$(( $(now_ms) - asked ))
xdotool key Escape
wait_until 20 eval '! windows_of "#32768" | grep -q "visible=1"' || fail "the tray menu did not close"
wake_target
clicks=0
until [ -s "$E2E_WORK/loaded_at" ]; do
  (( $(now_ms) - t0 < 600000 )) || fail "no message of the load's end within ten minutes"
  xdotool mousemove $((250 + 20 * (clicks % 10))) 300 click 1
  clicks=$((clicks + 1))
  sleep 1
done
loaded=$(cat "$E2E_WORK/loaded_at")
touch "$stop"
wait "$sampler"
tr -d '\r' < "$E2E_WORK/loading.log" > "$E2E_WORK/loading.txt"
text=$(answer_message_box)
echo "folder: tray icon at ${shown} ms, ready at ${ready} ms; tray menu open ${menu} ms after the right click"
echo "folder: loaded (its message shows) at ${loaded} ms; meanwhile $clicks clicks, star sizes seen: $(sizes_seen "$E2E_WORK/loading.txt")"
echo "folder: while loading, main window $(grep '^pings=' "$E2E_WORK/loading.txt")"
echo "folder: the message: $text"
echo "ratio: load / native reference = $(awk "BEGIN { printf \"%.1f\", $loaded / $reference }"); ready with the folder / floor = $(awk "BEGIN { printf \"%.1f\", $ready / $floor }")"

# The folder's pictures afterwards: three clicks, the star sizes they make.
stop=$E2E_WORK/stop_loaded
wait_until 30 stars_rested || true
wine "$E2E_WORK/probe.exe" sample "Pipwink2 Pupil" Pipwink2 60000 "$(windows_path "$stop")" > "$E2E_WORK/loaded.log" &
sampler=$!
wait_until 20 grep -q sampling "$E2E_WORK/loaded.log" 2>/dev/null || fail "the sampler did not start"
for i in 0 1 2; do xdotool mousemove $((260 + 30 * i)) 320 click 1; sleep 1; done
touch "$stop"
wait "$sampler"
tr -d '\r' < "$E2E_WORK/loaded.log" > "$E2E_WORK/loaded.txt"
echo "folder: afterwards, star sizes seen (a pool from before counts too): $(sizes_seen "$E2E_WORK/loaded.txt")"
# The watchdog fires after ten high samples in a row: the program must still
# run twelve seconds after the load (and the load itself did not count).
wait_until 12 process_gone "$TOVIK_PID" && fail "Tovik2 ended after loading the pictures"
echo "still running 12 s after the load"
stop_tovik 60
probe close Tovik2HookTarget >/dev/null
