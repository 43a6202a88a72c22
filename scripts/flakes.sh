#!/usr/bin/env bash
# The flake hunter: runs the chosen tests of the built trees N times, in the
# Wine lanes of the test command, and prints one table: test, passes,
# failures, slowest time and the first failure message of each failing test;
# the whole output of each run stays in build/flakes/.
#   scripts/flakes.sh [-n RUNS] [--busy] [CTEST ARGS...]
#   e.g. scripts/flakes.sh -n 10 --busy -L e2e
#        scripts/flakes.sh -n 3 -R 'win\.'
# --busy keeps one core busy with a process of its own for the whole hunt.
# The trees must be built (scripts/test.sh -N builds them without testing).
# A tool for developers; the test command does not run it.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
cd "$here"

runs=5 busy=0 ctest_args=()
while [ $# -gt 0 ]; do
  case "$1" in
    -n) runs=$2; shift 2 ;;
    --busy) busy=1; shift ;;
    *) ctest_args+=("$1"); shift ;;
  esac
done
[ -f build/CTestTestfile.cmake ] || { echo "flakes: build first (bash scripts/test.sh -N)" >&2; exit 1; }

# Each run's whole output stays here for a failure to be read in full.
results=$here/build/flakes
rm -rf "$results"
mkdir -p "$results"
busy_pid=""
finish() {
  [ -z "$busy_pid" ] || kill "$busy_pid" 2>/dev/null || true
  wine_env_stop
}
source scripts/wine-env.sh
trap finish EXIT
# The same lanes as the test command (its build/CTestTestfile.cmake names
# them), so that tests meet the same neighbours.
wine_env_start build 3
if [ $busy = 1 ]; then
  bash -c 'while :; do :; done' &
  busy_pid=$!
fi

for run in $(seq 1 "$runs"); do
  echo "flakes: run $run of $runs" >&2
  ctest --test-dir build --timeout 300 --parallel 4 \
    --output-on-failure --output-junit "$results/run$run.xml" "${ctest_args[@]}" > "$results/run$run.log" 2>&1 || true
  grep -E '(Passed|Failed|Timeout|Not Run|Exception)' "$results/run$run.log" | grep 'Test *#' >&2 || true
done

# One row a test over every run: the failure message is the first line of
# its output that says what went wrong (an e2e "FAILED", a gtest "Failure"),
# or else its last line.
python3 - "$results" "$runs" <<'EOF'
import glob, sys, xml.etree.ElementTree as ET
folder, runs = sys.argv[1], int(sys.argv[2])
def first_failure(out, case):
    for line in out:
        if "e2e FAILED" in line:
            return line.strip()[:160]
    for k, line in enumerate(out):  # gtest: the case, then what it expected
        if line.rstrip().endswith("Failure"):
            named = [l for l in out[k:] if l.startswith("[  FAILED  ]")]
            what = out[k + 1].strip() if k + 1 < len(out) else ""
            return ((named[0][13:].split(" (")[0] + ": ") if named else "") + what[:120]
    return (out[-1].strip() if out else case.get("status") or "failed")[:160]

rows = {}
for path in sorted(glob.glob(folder + "/run*.xml")):
    for case in ET.parse(path).getroot().iter("testcase"):
        name = case.get("name")
        row = rows.setdefault(name, {"pass": 0, "fail": 0, "slowest": 0.0, "message": ""})
        row["slowest"] = max(row["slowest"], float(case.get("time") or 0))
        if case.get("status") == "run" and case.find("failure") is None:
            row["pass"] += 1
            continue
        row["fail"] += 1
        if row["message"]:
            continue
        row["message"] = first_failure((case.findtext("system-out") or "").splitlines(), case)
width = max([len(n) for n in rows] + [4])
print(f"{'test':<{width}}  passes  failures  slowest  first failure")
for name, row in rows.items():
    print(f"{name:<{width}}  {row['pass']:>6}  {row['fail']:>8}  {row['slowest']:>6.1f}s  {row['message']}")
flaky = sum(1 for r in rows.values() if r["fail"])
print(f"flakes: {len(rows)} tests, {runs} runs each, {flaky} failed at least once")
if flaky:
    print(f"flakes: each run's whole output is in {folder}/run*.log")
EOF
