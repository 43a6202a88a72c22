# Measured by hand, never by ctest: how long Tovik2 takes to start with a
# folder of big pictures, what the user gets meanwhile, and whether it still
# runs past the watchdog's ten seconds. Run it through the scenario runner,
# inside the Wine environment (scripts/wine-env.sh):
#   BIG_COUNT=60 BIG_SIZE=4096 bash tests/e2e/run_scenario.sh bench/big_folder.sh \
#     build/windows/bin build/windows/tests/e2e/probe.exe build/windows/bench/big_folder
# BIG_FOLDER names a folder of pictures made before (else BIG_COUNT copies of
# one BIG_SIZE x BIG_SIZE picture are made in the work folder).
# The floor, in the same run: the start with the built-in star only, from
# Tovik2's start until its main window answers from its loop.

count=${BIG_COUNT:-60}
size=${BIG_SIZE:-4096}
folder=${BIG_FOLDER:-}
if [ -z "$folder" ]; then
  folder=$E2E_WORK/pictures
  mkdir -p "$folder"
  convert -size "${size}x${size}" gradient:'#ff8000-#2040ff' \( -size "${size}x${size}" radial-gradient:white-black \) \
    -compose multiply -composite -define png:exclude-chunks=bKGD "PNG32:$folder/p0.png"
  for ((i = 1; i < count; ++i)); do cp "$folder/p0.png" "$folder/p$i.png"; done
fi
echo "big_folder: $(ls "$folder" | wc -l) files, $(du -sh "$folder" | cut -f1)"
now_ms() { echo $(( $(date +%s%N) / 1000000 )); }

write_ini IMAGEFOLDER=
t0=$(now_ms)
start_tovik
probe ready Pipwink2 600000 >/dev/null || fail "Tovik2 did not get ready"
floor=$(( $(now_ms) - t0 ))
stop_tovik
echo "floor: built-in star, start to ready ${floor} ms"

write_ini "IMAGEFOLDER=$(windows_path "$folder")"
t0=$(now_ms)
start_tovik
wait_until 60 has_window Pipwink2 || fail "no main window"
wait_until 60 tray_shown || fail "no tray icon"
shown=$(( $(now_ms) - t0 ))
# The tray menu, asked for as soon as the icon shows: when it opens.
tray=$(xdotool search --onlyvisible --name '^Wine System Tray$' | head -n 1)
eval "$(xdotool getwindowgeometry --shell "$tray")"
asked=$(( $(now_ms) - t0 ))
xdotool mousemove $((X + 10)) $((Y + 10)) click 3
wait_until 600 eval 'windows_of "#32768" | grep -q "visible=1"' || fail "the tray menu never opened"
menu=$(( $(now_ms) - t0 ))
xdotool key Escape
probe ready Pipwink2 600000 >/dev/null || fail "Tovik2 did not get ready"
ready=$(( $(now_ms) - t0 ))
echo "folder: tray icon at ${shown} ms; menu asked at ${asked} ms, open at ${menu} ms; ready at ${ready} ms"
echo "ratio: start with the folder / floor = $(awk "BEGIN { printf \"%.1f\", $ready / $floor }")"
# The watchdog fires after ten high samples in a row: the program must still
# run twelve seconds after the load (and the load itself did not count).
wait_until 12 process_gone "$TOVIK_PID" && fail "Tovik2 ended after loading the pictures"
echo "still running 12 s after ready"
stop_tovik 60
