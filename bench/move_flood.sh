# Measured by hand, never by ctest: what another program's mouse moves go
# through while Tovik2 makes stars from a fast sweep, beside the same sweep
# with Tovik2 not running, alternated in one run. Run it through the scenario
# runner, inside the Wine environment (scripts/wine-env.sh):
#   FLOODS=4 E2E_TOOLS=build/windows/tests/e2e bash tests/e2e/run_scenario.sh \
#     bench/move_flood.sh build/windows/bin build/windows/tests/e2e/probe.exe build/windows/bench/flood
# Each sweep is 150 steps of 30 pixels, 10 ms apart, across the hook's target
# program, which reports how many movement messages it took (the rest were
# merged in its queue while it lagged), how late they came, and how long the
# global hooks held its input thread for one message. The floor beside it:
# the same sweep while a plain program without hooks shows and moves as many
# layered windows as Tovik2's stars (star_bench.exe mimic, STARS of them).

floods=${FLOODS:-4}
stars=${STARS:-26}
bench_dir=${BENCH_DIR:-$E2E_TOOLS/../../bench}
target_log=$E2E_WORK/target.log
log_of() { tr -d '\r' < "$1"; }

start_target
read -r _ _ rect _ <<<"$(log_of "$target_log" | grep '^target=')"
IFS=, read -r left top _ _ <<<"${rect#rect=}"
fy=$((top + 150))

sweeps=0
sweep() {
  sweeps=$((sweeps + 1))
  xdotool mousemove $((left + 40)) "$fy"
  sleep 0.3
  target_figures >/dev/null
  sweep_target $((left + 40)) "$fy" $((left + 380 - sweeps)) $((top + 285))
  target_figures | sed 's/^held //'
}

# mimic_sweep LEFT TOP: a sweep beside a plain program showing STARS windows
# (48 x 48, moving 3 and 2 pixels a period) from that corner on.
mimic_sweep() {
  local out=$E2E_WORK/mimic.log pid
  wine "$bench_dir/star_bench.exe" mimic "$stars" "$(( 1500 / stars ))" 12 "$1" "$2" > "$out" &
  pid=$!
  wait_until 20 grep -q mimicking "$out" || fail "the mimic did not start"
  sweep
  wait "$pid"
}

write_ini MOUSECLICK=1 MOUSEMOVE=1 KEYENTRY=0
for ((n = 1; n <= floods; ++n)); do
  echo "without Tovik2: $(sweep)"
  echo "a plain program showing $stars windows away from the pointer: $(mimic_sweep $((left + 420)) $((top + 200)))"
  echo "a plain program showing $stars windows on the pointer's path: $(mimic_sweep $((left + 16)) $((fy - 44)))"
  start_tovik_ready
  wake_target
  echo "with Tovik2, first sweep: $(sweep)"
  wait_until 10 stars_rested || fail "the stars did not rest"
  echo "with Tovik2, once rested:  $(sweep)"
  wait_until 10 stars_rested || fail "the stars did not rest"
  stop_tovik
done
