# Tovik2 starts, holds one hidden main window, refuses a second copy, and
# closes cleanly when its main window is asked to, also while its picture
# folder still loads.

start_tovik
wait_until 20 has_window Pipwink2 || fail "no main window of class Pipwink2"

line=$(windows_of Pipwink2)
[ "$(echo "$line" | wc -l)" = 1 ] || fail "expected one main window, got: $line"
exstyle=$(echo "$line" | sed -n 's/.*exstyle=\(0x[0-9a-f]*\).*/\1/p')
(( exstyle & 0x80 )) || fail "main window lacks WS_EX_TOOLWINDOW: $line"
(( exstyle & 0x80000 )) || fail "main window is not layered: $line"

# A second copy ends at once with code 0 and leaves the first alone.
second_rc=0
(cd "$E2E_PROGRAM" && timeout 20 wine Tovik2.exe) || second_rc=$?
[ "$second_rc" = 0 ] || fail "second copy exited with $second_rc"
[ "$(windows_of Pipwink2 | wc -l)" = 1 ] || fail "second copy touched the first"

probe close Pipwink2 >/dev/null
wait_until 20 process_gone "$TOVIK_PID" || fail "Tovik2 did not exit after WM_CLOSE"
rc=0; wait "$TOVIK_PID" || rc=$?
[ "$rc" = 0 ] || fail "Tovik2 exited with $rc"
has_no_window Pipwink2 || fail "a main window is left after exit"

# Start at sign-in from the tray menu: its item writes the program's quoted
# path under the Run key and takes it away again.
[ -z "$(run_value)" ] || wine reg delete "$run_key" /v Tovik2 /f >/dev/null
start_tovik_ready
tray_menu Down Down Down Return  # version, settings, start at sign-in
wait_until 10 eval '[ -n "$(run_value)" ]' || fail "the menu's start at sign-in wrote no Run value"
program=$(run_value)
echo "e2e: Run value $program"
[[ "$program" == \"*\\Tovik2.exe\" ]] || fail "the Run value is not the program's quoted path: $program"
tray_menu Down Down Down Return
wait_until 10 eval '[ -z "$(run_value)" ]' || fail "the menu's start at sign-in did not remove the Run value: $(run_value)"

# A value left by a copy in another folder follows this one at its start.
wine reg add "$run_key" /v Tovik2 /t REG_SZ /d '"C:\Old\Tovik2.exe"' /f >/dev/null
probe close Pipwink2 >/dev/null
wait_until 20 process_gone "$TOVIK_PID" || fail "Tovik2 did not exit before its restart"
start_tovik
wait_until 20 eval '[ "$(run_value)" = "$program" ]' || fail "the Run value did not follow the program: $(run_value)"
wine reg delete "$run_key" /v Tovik2 /f >/dev/null
probe close Pipwink2 >/dev/null
wait_until 20 process_gone "$TOVIK_PID" || fail "Tovik2 did not exit after the Run value followed it"

# After the first copy has ended, a new one starts normally.
start_tovik
wait_until 20 has_window Pipwink2 || fail "a new copy did not start after the first ended"
probe close Pipwink2 >/dev/null
wait_until 20 process_gone "$TOVIK_PID" || fail "the new copy did not exit"

# Exit from the tray menu while a folder of big pictures still loads: the
# menu opens and the program ends at once, in order (code 0).
big=$E2E_WORK/big
mkdir -p "$big"
convert -size 4096x4096 gradient:'#ff8000-#2040ff' -define png:exclude-chunks=bKGD "PNG32:$big/p00.png"
for ((i = 1; i < 40; ++i)); do cp "$big/p00.png" "$big/p$(printf %02d $i).png"; done
echo "not a picture" > "$big/broken.png"  # told only once the load has ended
write_ini "IMAGEFOLDER=$(windows_path "$big")"
start_tovik
ready=$(probe ready Pipwink2 20000) || fail "Tovik2 did not get ready"
# The process keeps normal priority: its hook thread answers other programs'
# input. Only star making and picture loading lower their own threads.
grep -q ' priority=0x20$' <<<"$ready" || fail "Tovik2 runs at another priority: $ready"
wait_until 20 tray_shown || fail "no tray icon"
! has_message_box || fail "the folder had loaded before the exit was chosen: too few pictures to try it"
tray_menu Down Down Down Down Down Return  # the last item: exit
wait_until 20 process_gone "$TOVIK_PID" || fail "Tovik2 did not exit while its folder loaded"
rc=0; wait "$TOVIK_PID" || rc=$?
[ "$rc" = 0 ] || fail "Tovik2 exited with $rc while its folder loaded"
has_no_window Pipwink2 || fail "a main window is left after exit"

# Exit while the folder's load is stuck in a read that never ends (a pipe
# named like a picture, held open by a writer that never writes, as a file on
# a share gone offline): the program waits for it about a second, then ends.
stuck=$E2E_WORK/stuck
mkdir -p "$stuck"
mkfifo "$stuck/a.png"
exec {writer}<>"$stuck/a.png"
write_ini "IMAGEFOLDER=$(windows_path "$stuck")"
start_tovik_ready
probe status Pipwink2 | grep -q ' loading=1 ' || fail "the stuck folder was not loading: $(probe status Pipwink2)"
asked=$(date +%s%N)
probe close Pipwink2 >/dev/null
wait_until 20 process_gone "$TOVIK_PID" || fail "Tovik2 did not exit while its load was stuck"
echo "exit with a stuck read took $(( ($(date +%s%N) - asked) / 1000000 )) ms"
rc=0; wait "$TOVIK_PID" || rc=$?
[ "$rc" = 0 ] || fail "Tovik2 exited with $rc while its load was stuck"
exec {writer}>&-

# The release archive, unpacked into an empty folder, runs as it is: it
# starts, writes its settings beside itself and ends on request.
[ -f "${E2E_ARCHIVE:-}" ] || fail "no release archive at '${E2E_ARCHIVE:-}'"
unpacked=$E2E_WORK/unpacked
mkdir -p "$unpacked"
(cd "$unpacked" && cmake -E tar xf "$E2E_ARCHIVE") || fail "the release archive does not unpack"
for file in Tovik2.exe nivlet2.dll readme.txt LICENSE; do
  [ -f "$unpacked/$file" ] || fail "the release archive lacks $file"
done
grep -q HOTKEY "$unpacked/readme.txt" || fail "the archive's readme does not tell the settings keys"
# Written for Notepad: a byte order mark and CRLF on every line.
[ "$(head -c 3 "$unpacked/readme.txt" | od -An -tx1 | tr -d ' ')" = efbbbf ] ||
  fail "the archive's readme does not start with a byte order mark"
[ "$(grep -c $'\r$' "$unpacked/readme.txt")" = "$(wc -l < "$unpacked/readme.txt")" ] ||
  fail "a line of the archive's readme does not end in CRLF"
# Stripped: no debug information, and with it none of the build machine's paths.
for file in Tovik2.exe nivlet2.dll; do
  ! x86_64-w64-mingw32-objdump -h "$unpacked/$file" | grep -q '\.debug' || fail "the archive's $file carries debug information"
  ! grep -qaF "$(cd "$E2E_TOOLS/../.." && pwd)" "$unpacked/$file" || fail "the archive's $file names a folder of the build machine"
done
E2E_PROGRAM=$unpacked start_tovik
wait_until 20 has_window Pipwink2 || fail "Tovik2 from the release archive did not start"
wait_until 20 grep -q '^ENTERKEY=' "$unpacked/tovik2.ini" || fail "Tovik2 from the archive wrote no settings beside itself"
probe close Pipwink2 >/dev/null
wait_until 20 process_gone "$TOVIK_PID" || fail "Tovik2 from the archive did not exit"
