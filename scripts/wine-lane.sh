# Sourced by what ctest starts under Wine: the session of the lane ctest gave
# the test (scripts/test.sh names a lane for each Wine session that
# wine_env_start made, each with its own prefix and display, so tests of two
# lanes never see each other's windows, hooks, cells or settings). Without a
# lane the session already in the environment is used.
wine_lane_enter() {
  local kind=${CTEST_RESOURCE_GROUP_0:-}
  [ -n "$kind" ] || return 0
  local given=CTEST_RESOURCE_GROUP_0_${kind^^}
  local lane=${!given:-}
  lane=${lane#id:}
  lane=${lane%%,*}
  [ -n "$lane" ] || return 0
  local display=TOVIK2_DISPLAY_$lane prefix=TOVIK2_PREFIX_$lane
  if [ -z "${!display:-}" ] || [ -z "${!prefix:-}" ]; then
    echo "wine-lane: no Wine session for lane $lane" >&2
    return 1
  fi
  export DISPLAY=${!display} WINEPREFIX=${!prefix}
}
