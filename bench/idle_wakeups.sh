# Measured by hand, never by ctest: how often Tovik2's threads wake while
# nothing moves, beside a plain Wine program with a window (the hook's target)
# measured the same way in the same run. Run it through the scenario runner,
# inside the Wine environment (scripts/wine-env.sh):
#   IDLE_SECONDS=20 E2E_TOOLS=build/windows/tests/e2e bash tests/e2e/run_scenario.sh bench/idle_wakeups.sh \
#     build/windows/bin build/windows/tests/e2e/probe.exe build/windows/bench/idle
# A wakeup is a voluntary context switch of any thread of the process (Linux
# counts them per thread in /proc); each thread's share is printed.

seconds=${IDLE_SECONDS:-20}

# wine_pid NAME: the Linux process running the Windows program NAME in this
# Wine session (its launcher, which also names it, has a single thread; other
# sessions on the machine have other prefixes).
wine_pid() {
  local pid best='' most=0 threads
  for pid in $(pgrep -f "$1"); do
    tr '\0' '\n' < /proc/"$pid"/environ 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX" || continue
    threads=$(ls /proc/"$pid"/task 2>/dev/null | wc -l)
    if [ "$threads" -gt "$most" ]; then best=$pid most=$threads; fi
  done
  echo "$best"
}

# switches PID: "tid name count" for every thread of the process.
switches() {
  local task
  for task in /proc/"$1"/task/*; do
    printf '%s %s %s\n' "${task##*/}" "$(tr ' ' _ < "$task/comm")" \
      "$(sed -n 's/^voluntary_ctxt_switches:[[:space:]]*//p' "$task/status")"
  done
}

# idle_rate PID LABEL: samples the threads, waits, samples again, prints.
idle_rate() {
  local before after total=0 tid name count was
  echo "$2: process $1 ($(tr '\0' ' ' < /proc/"$1"/cmdline)), $(ls /proc/"$1"/task | wc -l) threads"
  before=$(switches "$1")
  sleep "$seconds"
  after=$(switches "$1")
  while read -r tid name count; do
    was=$(echo "$before" | awk -v t="$tid" '$1 == t { print $3 }')
    count=$(( count - ${was:-0} ))
    total=$(( total + count ))
    [ "$count" -gt 0 ] && echo "  $2 thread $tid ($name): $count"
  done <<< "$after"
  echo "$2: $total wakeups in ${seconds} s = $(awk -v n="$total" -v s="$seconds" 'BEGIN { printf "%.2f", n / s }') per second"
}

start_target
target=$(wine_pid hook_target.exe)
sleep 2  # let the window settle after its first paint
idle_rate "$target" "floor (a plain Wine window)"

start_tovik_ready
tovik=$(wine_pid Tovik2.exe)
sleep 2
idle_rate "$tovik" "Tovik2, no star"

# Stars that came to rest: the motion timer must have stopped again.
xdotool mousemove 600 300 click 1
wait_until 10 stars_rested || fail "the stars did not rest"
sleep 1
idle_rate "$tovik" "Tovik2, after stars rested"
stop_tovik
