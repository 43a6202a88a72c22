#!/usr/bin/env bash
# ctest's launcher for the Windows programs: runs one under Wine in the
# environment that scripts/wine-env.sh prepared (scripts/test.sh does that),
# in the session of the test's lane.
source "$(dirname "$0")/wine-lane.sh"
wine_lane_enter || exit 1
if [ -z "${WINEPREFIX:-}" ] || [ -z "${DISPLAY:-}" ]; then
  echo "wine-exec: no Wine environment; run the tests with scripts/test.sh" >&2
  exit 1
fi
exec wine "$@"
