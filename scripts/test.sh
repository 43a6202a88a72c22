#!/usr/bin/env bash
# Runs every test: installs what is missing, builds the three trees, then runs
# the native tests, the Win32 tests under Wine, the end-to-end scenarios and
# the Linux program's scenarios in one ctest run whose summary closes the output.
# Extra arguments go to ctest (e.g. -L native, -R SharedCells).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
cd "$here"

bash scripts/setup.sh build
cmake --preset native >/dev/null
cmake --build --preset native
cmake --preset windows >/dev/null
cmake --build --preset windows
cmake --preset linux >/dev/null
cmake --build --preset linux

# One ctest run over the three trees, so the closing summary counts every tier. It
# runs in three Wine sessions side by side, each with its own prefix and
# display (a lane, started by wine_env_start below): tests/wine_lanes.json
# gives the scenarios two lanes and the Win32 tier the third to itself, since
# some of its cases need a session in which no program of a scenario has left
# the shared cells behind. The native tests run beside them, and so does the
# Linux tier: each of its scenarios starts an Xvfb of its own on a free
# display number.
cat > build/CTestTestfile.cmake <<CTEST
set(CTEST_RESOURCE_SPEC_FILE "$here/tests/wine_lanes.json")
subdirs("native")
subdirs("windows")
subdirs("linux")
CTEST

source scripts/wine-env.sh
trap wine_env_stop EXIT
wine_env_start build 3
ctest --test-dir build --output-on-failure --timeout 300 --parallel 4 "$@"
