# The headless demo that scripts/run.sh plays when there is no display: a
# window of another program, Tovik2, a few clicks, two stars caught and one
# dragged, and a screenshot. Runs through tests/e2e/run_scenario.sh, which
# provides the helpers (start_target, start_tovik, probe, screenshot...).

start_target
start_tovik
wait_until 20 has_window Pipwink2 || fail "Tovik2 did not start"
sleep 1
for x in 300 302 304; do xdotool mousemove "$x" 300; sleep 0.2; done

# Catch a star from each of two clicks, then drag the second one a little.
caught=()
for point in "250 320" "380 280"; do
  xdotool mousemove ${point% *} ${point#* } click 1
  line=$(probe catch "Pipwink2 Pupil" 2000 "${caught[@]}") || continue
  caught+=("$(echo "$line" | sed -n 's/^caught=\(0x[0-9a-f]*\).*/\1/p')")
  sleep 0.8
done
if [ ${#caught[@]} -ge 2 ]; then
  line=$(windows_of "Pipwink2 Pupil" | grep "hwnd=${caught[1]} ")
  x=$(( ($(rect_field "$line" 1) + $(rect_field "$line" 3)) / 2 ))
  y=$(( ($(rect_field "$line" 2) + $(rect_field "$line" 4)) / 2 ))
  xdotool mousemove "$x" "$y" mousedown 1 mousemove $((x + 40)) $((y + 30)) mouseup 1
fi

# A last burst, photographed in flight.
xdotool mousemove 330 340 click 1
sleep 0.15
screenshot demo
probe close Pipwink2 >/dev/null
wait_until 20 process_gone "$TOVIK_PID" || fail "Tovik2 did not exit"
