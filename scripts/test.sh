#!/usr/bin/env bash
# Runs every test: installs what is missing, builds both trees, then runs the
# native tests, the Win32 tests under Wine and the end-to-end scenarios in one
# ctest run whose summary closes the output.
# Extra arguments go to ctest (e.g. -L native, -R SharedCells).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
cd "$here"

bash scripts/setup.sh build
cmake --preset native >/dev/null
cmake --build --preset native
cmake --preset windows >/dev/null
cmake --build --preset windows

# One ctest run over both trees, so the closing summary counts every tier.
printf 'subdirs("native")\nsubdirs("windows")\n' > build/CTestTestfile.cmake

# Three Wine sessions side by side, each with its own prefix and display (a
# lane; see wine_lanes_spec); the native tests run beside them.
source scripts/wine-env.sh
trap wine_env_stop EXIT
wine_env_start build 3
wine_lanes_spec build/wine-lanes.json
ctest --test-dir build --output-on-failure --timeout 300 --parallel 4 \
  --resource-spec-file "$here/build/wine-lanes.json" "$@"
