# The Wine environment of the tests and of 'run'. Source it, then:
#   wine_env_start BUILD_DIR   private prefix, Japanese locale, a display, a warm wineserver
#   wine_env_stop              ends what wine_env_start started, by process id
# With DISPLAY unset it starts an Xvfb display of its own (with a compositing
# manager, so per-pixel alpha shows in screenshots); a given DISPLAY is used as is.

_wine_env_pids=()

_wine_env_free_display() {
  local n
  for n in $(seq 91 150); do
    if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then echo "$n"; return 0; fi
  done
  return 1
}

wine_env_start() {
  local build=${1:?build directory}
  mkdir -p "$build"
  build=$(cd "$build" && pwd)
  export WINEPREFIX=$build/wineprefix WINEARCH=win64 WINEDEBUG=-all
  export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
  # No Mono or Gecko installers: the program needs neither, and their prompts would hang a run.
  export WINEDLLOVERRIDES="mscoree=;mshtml="

  if [ -z "${DISPLAY:-}" ]; then
    local n
    n=$(_wine_env_free_display) || { echo "wine-env: no free X display number" >&2; return 1; }
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    _wine_env_pids+=($!)
    export DISPLAY=":$n"
    local i
    for i in $(seq 1 100); do
      xdpyinfo >/dev/null 2>&1 && break
      sleep 0.1
    done
    xdpyinfo >/dev/null 2>&1 || { echo "wine-env: Xvfb did not start on $DISPLAY" >&2; return 1; }
    xcompmgr >/dev/null 2>&1 &
    _wine_env_pids+=($!)
  fi

  if [ ! -f "$WINEPREFIX/.tovik2-ready" ]; then
    echo "wine-env: preparing the Wine prefix (once)"
    wineboot -i >/dev/null 2>&1 || true
    # Without this a crash opens winedbg's dialog and the run hangs forever.
    wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
    touch "$WINEPREFIX/.tovik2-ready"
  fi
  # One warm session for the whole run, started outside ctest so that it does
  # not hold ctest's pipes open.
  wineserver -p >/dev/null 2>&1 </dev/null || true  # 2 when a server already runs
  wine cmd /c exit >/dev/null 2>&1 </dev/null || true
}

wine_env_stop() {
  wineserver -k >/dev/null 2>&1 || true
  local pid
  for pid in "${_wine_env_pids[@]}"; do
    kill "$pid" >/dev/null 2>&1 || true
  done
  for pid in "${_wine_env_pids[@]}"; do
    wait "$pid" 2>/dev/null || true
  done
  _wine_env_pids=()
}
