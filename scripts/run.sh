#!/usr/bin/env bash
# Builds and runs Tovik2.
#   bash scripts/run.sh            the Linux program tovik2: on your display when
#                                  DISPLAY is set (Ctrl+C ends it), else a short
#                                  headless demo on a private virtual display that
#                                  leaves a screenshot in build/demo.png
#   bash scripts/run.sh --windows  the Windows build under Wine, as below
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
cd "$here"

run_windows() {
  # With DISPLAY set, Tovik2 runs on your display until you choose 終了 in its
  # tray menu (or press Ctrl+C). Without a display, a short headless demo plays
  # on a private virtual display and leaves a screenshot in build/demo.png.
  bash scripts/setup.sh build
  cmake --preset windows >/dev/null
  cmake --build --preset windows --target Tovik2 nivlet2 e2e_programs

  source scripts/wine-env.sh
  trap wine_env_stop EXIT
  wine_env_start build
  if [ -n "${DISPLAY:-}" ]; then
    echo "run: Tovik2 is running (program folder build/windows/bin); exit from its tray menu"
    wine build/windows/bin/Tovik2.exe
  else
    echo "run: no display: playing the headless demo on a virtual display"
    E2E_TOOLS=build/windows/tests/e2e bash tests/e2e/run_scenario.sh scripts/demo.sh build/windows/bin \
      build/windows/tests/e2e/probe.exe build/demo
    cp build/demo/artifacts/demo.png build/demo.png
    echo "run: screenshot written to build/demo.png"
  fi
}

run_linux() {
  bash scripts/setup.sh build
  cmake --preset linux >/dev/null
  cmake --build --preset linux --target tovik2
  if [ -n "${DISPLAY:-}" ]; then
    echo "run: tovik2 is running on $DISPLAY; Ctrl+C ends it"
    exec build/linux/bin/tovik2
  fi
  echo "run: no display: playing the headless demo on a virtual display"
  bash scripts/linux-demo.sh build/linux/bin/tovik2 build/demo.png
  echo "run: screenshot written to build/demo.png"
}

case "${1:-}" in
  --windows) run_windows ;;
  "") run_linux ;;
  *) echo "usage: bash scripts/run.sh [--windows]" >&2; exit 2 ;;
esac
