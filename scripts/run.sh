#!/usr/bin/env bash
# Builds Tovik2 and starts it under Wine: on your display when DISPLAY is set,
# otherwise on a private virtual display. Stop it from its tray menu (終了) or with Ctrl+C.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
cd "$here"

bash scripts/setup.sh build
cmake --preset windows >/dev/null
cmake --build --preset windows --target Tovik2 nivlet2

source scripts/wine-env.sh
trap wine_env_stop EXIT
wine_env_start build
echo "run: Tovik2 is running on display $DISPLAY (program folder build/windows/bin)"
wine build/windows/bin/Tovik2.exe
