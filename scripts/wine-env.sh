# The Wine environment of the tests and of 'run'. Source it, then:
#   wine_env_start BUILD_DIR [LANES]
#                   private prefix, Japanese locale, a display, a warm wineserver;
#                   with LANES > 1 as many sessions side by side, each with a
#                   prefix and a display of its own (see scripts/wine-lane.sh)
#   wine_env_stop   ends what wine_env_start started, by process id
# With DISPLAY unset it starts an Xvfb display of its own (with a compositing
# manager, so per-pixel alpha shows in screenshots); a given DISPLAY is used as
# is by the first session. DISPLAY and WINEPREFIX name the first session.

_wine_env_pids=()
_wine_env_groups=()
_wine_env_prefixes=()

# _wine_env_display: starts an Xvfb display and sets DISPLAY to it.
_wine_env_display() {
  # Xvfb picks a free display itself and names it on fd 3 once it is ready,
  # so runs side by side never race for a display number.
  local named
  named=$(mktemp)
  # No key repeat (-r): on a loaded machine a key held for half a second
  # between xdotool's press and release would type it again.
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -r 3>"$named" >/dev/null 2>&1 &
  _wine_env_pids+=($!)
  local i
  for i in $(seq 1 300); do
    [ -s "$named" ] && break
    sleep 0.1
  done
  local number
  number=$(tr -dc '0-9' < "$named")
  rm -f "$named"
  [ -n "$number" ] || { echo "wine-env: Xvfb did not start" >&2; return 1; }
  export DISPLAY=":$number"
  xcompmgr >/dev/null 2>&1 &
  _wine_env_pids+=($!)
}

# _wine_env_prepare: makes the prefix WINEPREFIX ready once.
_wine_env_prepare() {
  if [ ! -f "$WINEPREFIX/.tovik2-ready" ]; then
    echo "wine-env: preparing the Wine prefix (once)"
    wineboot -i >/dev/null 2>&1 || true
    # Without this a crash opens winedbg's dialog and the run hangs forever.
    wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
    touch "$WINEPREFIX/.tovik2-ready"
  fi
  if [ ! -f "$WINEPREFIX/.tovik2-fonts" ]; then
    # The settings dialog asks for "MS UI Gothic", which Wine does not have; its
    # fallback is wider and would cut the labels. IPAPGothic (fonts-ipafont-gothic)
    # is drawn to the metrics of that family; Noto Sans CJK JP stands in without it.
    local face
    face=$(fc-list : family | grep -q 'IPAPGothic' && echo IPAPGothic || echo 'Noto Sans CJK JP')
    wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'MS UI Gothic' /t REG_SZ /d "$face" /f >/dev/null 2>&1 \
      && touch "$WINEPREFIX/.tovik2-fonts"
  fi
}

# _wine_env_session: one warm session in WINEPREFIX on DISPLAY for the whole
# run, started outside ctest so that none of its processes holds ctest's pipes
# open. Wine ends its desktop process a few seconds after the last program; the
# next window would start it again inside a test, which then waits for it. A
# program that waits on its input for the whole run keeps the desktop process alive.
_wine_env_session() {
  _wine_env_prefixes+=("$WINEPREFIX")
  wineserver -p >/dev/null 2>&1 </dev/null || true  # 2 when a server already runs
  setsid bash -c 'sleep 2147483647 | wine cmd /c "set /p keep="' >/dev/null 2>&1 </dev/null &
  _wine_env_groups+=($!)
  wine cmd /c exit >/dev/null 2>&1 </dev/null || true
}

wine_env_start() {
  local build=${1:?build directory} lanes=${2:-1}
  mkdir -p "$build"
  build=$(cd "$build" && pwd)
  export WINEPREFIX=$build/wineprefix WINEARCH=win64 WINEDEBUG=-all
  # The Japanese locale gives Wine code page 932; asked for where it is
  # missing, every shell and program would warn that it cannot set it.
  if locale -a 2>/dev/null | grep -qiE '^ja_JP\.utf-?8$'; then
    export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
  else
    echo "wine-env: no ja_JP.UTF-8 locale (scripts/setup.sh makes it): Wine runs with a Western code page" >&2
    export LANG=C.UTF-8 LC_ALL=C.UTF-8
  fi
  # No Mono or Gecko installers: the program needs neither, and their prompts would hang a run.
  export WINEDLLOVERRIDES="mscoree=;mshtml="

  [ -n "${DISPLAY:-}" ] || _wine_env_display || return 1
  _wine_env_prepare
  local first_display=$DISPLAY first_prefix=$WINEPREFIX lane
  export TOVIK2_DISPLAY_lane0=$DISPLAY TOVIK2_PREFIX_lane0=$WINEPREFIX
  for ((lane = 1; lane < lanes; lane++)); do
    # A copy of the prepared prefix, made once and kept.
    export WINEPREFIX=$build/wineprefix-lane$lane
    if [ ! -f "$WINEPREFIX/.tovik2-lane" ]; then
      rm -rf "$WINEPREFIX"
      WINEPREFIX=$first_prefix wineserver -w  # its registry is written out once the server ends
      cp -a "$first_prefix" "$WINEPREFIX" && touch "$WINEPREFIX/.tovik2-lane"
    fi
    _wine_env_display || return 1
    export "TOVIK2_DISPLAY_lane$lane=$DISPLAY" "TOVIK2_PREFIX_lane$lane=$WINEPREFIX"
    _wine_env_session
  done
  export DISPLAY=$first_display WINEPREFIX=$first_prefix
  _wine_env_session
}

wine_env_stop() {
  local prefix
  for prefix in "${_wine_env_prefixes[@]}"; do
    WINEPREFIX=$prefix wineserver -k >/dev/null 2>&1 || true
  done
  _wine_env_prefixes=()
  local group
  for group in "${_wine_env_groups[@]}"; do
    kill -- "-$group" >/dev/null 2>&1 || true
  done
  _wine_env_groups=()
  local pid
  for pid in "${_wine_env_pids[@]}"; do
    kill "$pid" >/dev/null 2>&1 || true
  done
  for pid in "${_wine_env_pids[@]}"; do
    wait "$pid" 2>/dev/null || true
  done
  _wine_env_pids=()
}
