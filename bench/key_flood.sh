# Measured by hand, never by ctest: 1,000 key presses in about a second into
# another program's edit control, with Tovik2 making a star for every key it
# is told of. Run it through the scenario runner, inside the Wine environment
# (scripts/wine-env.sh):
#   E2E_TOOLS=build/windows/tests/e2e bash tests/e2e/run_scenario.sh \
#     bench/key_flood.sh build/windows/bin build/windows/tests/e2e/probe.exe build/windows/bench/keys
# It prints how long the keys took to type, how many the target took, the
# longest the main window took to answer a message sent to it meanwhile
# (polled every 100 ms), and how long after the last key the program still
# had key reports queued or stars flying (the backlog the flood left).
# KEYS sets the number of keys (default 1000).

keys=${KEYS:-1000}
target_log=$E2E_WORK/target.log
keydowns() { tr -d '\r' < "$target_log" | grep -c '^keydown ' || true; }
now_ms() { date +%s%3N; }

write_ini MOUSECLICK=0 MOUSEMOVE=0 ENTERKEY=0 QUANTITY=1
start_target
read -r _ _ _ editrect <<<"$(tr -d '\r' < "$target_log" | grep '^target=')"
IFS=, read -r eleft etop eright ebottom <<<"${editrect#editrect=}"
start_tovik_ready
xdotool windowfocus --sync "$(xdotool search --onlyvisible --name '^hook target$' | head -n 1)"
wake_target
click_target $(((eleft + eright) / 2)) $(((etop + ebottom) / 2))
program_quiet || fail "the program did not settle: $(cat "$E2E_WORK/quiet.log")"

text=$(head -c "$keys" < /dev/zero | tr '\0' 'a')
stop=$E2E_WORK/sample.stop
probe sample "Pipwink2 Pupil" Pipwink2 600000 "$(windows_path "$stop")" > "$E2E_WORK/sample.log" &
sampler=$!
wait_until 20 grep -q sampling "$E2E_WORK/sample.log" || fail "the sampler did not start"
before=$(keydowns)
start=$(now_ms)
xdotool type --delay 1 "$text"
typed=$(now_ms)
wait_until 60 eval '[ $(keydowns) -ge $((before + keys)) ]' || fail "the target took $(($(keydowns) - before)) of $keys keys"
probe still Pipwink2 120000 > "$E2E_WORK/still.log" || fail "the program did not settle: $(cat "$E2E_WORK/still.log")"
settled=$(now_ms)
touch "$stop"
wait "$sampler" || true
echo "keys=$keys typed_ms=$((typed - start)) target_took=$(($(keydowns) - before)) settled_after_last_key_ms=$((settled - typed))"
echo "main window while flooded: $(tr -d '\r' < "$E2E_WORK/sample.log" | grep '^pings=')"
stop_tovik
probe close Tovik2HookTarget >/dev/null
