#!/usr/bin/env bash
# Builds Tovik2 and runs it under Wine. With DISPLAY set, Tovik2 runs on your
# display until you choose 終了 in its tray menu (or press Ctrl+C). Without a
# display, a short headless demo plays on a private virtual display and
# leaves a screenshot in build/demo.png.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
cd "$here"

bash scripts/setup.sh build
cmake --preset windows >/dev/null
cmake --build --preset windows --target Tovik2 nivlet2 e2e_programs

if [ -n "${DISPLAY:-}" ]; then
  source scripts/wine-env.sh
  trap wine_env_stop EXIT
  wine_env_start build
  echo "run: Tovik2 is running (program folder build/windows/bin); exit from its tray menu"
  wine build/windows/bin/Tovik2.exe
else
  source scripts/wine-env.sh
  trap wine_env_stop EXIT
  wine_env_start build
  echo "run: no display: playing the headless demo on a virtual display"
  E2E_TOOLS=build/windows/tests/e2e bash tests/e2e/run_scenario.sh scripts/demo.sh build/windows/bin \
    build/windows/tests/e2e/probe.exe build/demo
  cp build/demo/artifacts/demo.png build/demo.png
  echo "run: screenshot written to build/demo.png"
fi
