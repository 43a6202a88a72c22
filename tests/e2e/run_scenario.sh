#!/usr/bin/env bash
# Runs one end-to-end scenario in a fresh program folder.
#   run_scenario.sh SCENARIO.sh PROGRAM_DIR PROBE.exe WORK_DIR
# The scenario sees the helpers of lib.sh; screenshots land in WORK_DIR/artifacts.
# E2E_PROGRAM_FOLDER names the program folder (default "program").
set -euo pipefail
scenario=$1 program_dir=$2 probe_exe=$3 work=$4
source "$(dirname "$0")/../../scripts/wine-lane.sh"
wine_lane_enter
if [ -z "${WINEPREFIX:-}" ] || [ -z "${DISPLAY:-}" ]; then
  echo "e2e: no Wine environment; run the tests with scripts/test.sh" >&2
  exit 1
fi
rm -rf "$work"
program=$work/${E2E_PROGRAM_FOLDER:-program}
mkdir -p "$program" "$work/artifacts"
cp "$program_dir/Tovik2.exe" "$program_dir/nivlet2.dll" "$program/"
cp "$probe_exe" "$work/probe.exe"
export E2E_WORK=$work E2E_PROGRAM=$program E2E_ARTIFACTS=$work/artifacts
source "$(dirname "$0")/lib.sh"
trap e2e_cleanup EXIT
source "$scenario"
echo "e2e: $(basename "$scenario" .sh) passed"
