#!/usr/bin/env python3
"""The Linux program's benchmarks beside its display's floor, on a private
Xvfb with xcompmgr (never run by ctest):

    python3 bench/linux/run_bench.py [BUILD_DIR]   (default build/linux)

Prints the floors (bare ARGB override-redirect windows made+painted+mapped,
100 moved a tick, unmapped+mapped; an X round trip), a click to the first
star mapped, the wakeups per second of every thread of tovik2 beside a plain
idle Qt program, another program's motion lateness without and with tovik2,
and the resident memory of both at idle."""
import os
import subprocess
import sys
import time

here = os.path.dirname(os.path.abspath(__file__))
root = os.path.dirname(os.path.dirname(here))
sys.path.insert(0, os.path.join(root, "tests", "linux"))
from harness import Tovik2, XSession, wait_until  # noqa: E402

IDLE_S = float(os.environ.get("IDLE_SECONDS", "20"))
MOVES = int(os.environ.get("MOTION_MOVES", "1500"))


def thread_switches(pid):
    """Voluntary context switches of every thread of the process, summed."""
    total = 0
    for task in os.listdir("/proc/%d/task" % pid):
        with open("/proc/%d/task/%s/status" % (pid, task)) as f:
            for line in f:
                if line.startswith("voluntary_ctxt_switches:"):
                    total += int(line.split()[1])
    return total


def resident_mib(pid):
    with open("/proc/%d/status" % pid) as f:
        for line in f:
            if line.startswith("VmRSS:"):
                return int(line.split()[1]) / 1024.0
    return 0.0


def figures(session, build, *words):
    result = session.run([os.path.join(build, "bench", "linux", "x_bench")] + [str(w) for w in words])
    text = result.stdout.decode()
    sys.stdout.write(text)
    return {line.split()[0]: float(line.split()[1]) for line in text.splitlines() if line[:1].isalpha()}


def main():
    build = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "build", "linux"))
    tools = {"tovik2": os.path.join(build, "bin", "tovik2"),
             "target": os.path.join(build, "tests", "linux", "x_target")}
    artifacts = os.path.join(build, "bench-artifacts")
    with XSession(artifacts, tools) as session:
        print("== floors of this display")
        figures(session, build, "floors")

        print("== another program's motion, without tovik2")
        alone = figures(session, build, "motion", MOVES, 8)

        idle_qt = session.start([os.path.join(build, "bench", "linux", "idle_qt")], name="idle_qt")
        program = Tovik2(session)
        program.wait_ready()
        wait_until(lambda: idle_qt.poll() is None and resident_mib(idle_qt.pid) > 0, "idle Qt program up")

        print("== idle: %.0f s with nothing moving" % IDLE_S)
        pids = {"tovik2": program.proc.pid, "plain Qt program": idle_qt.pid}
        before = {name: thread_switches(pid) for name, pid in pids.items()}
        time.sleep(IDLE_S)  # the measurement's interval, not a wait for state
        for name, pid in pids.items():
            rate = (thread_switches(pid) - before[name]) / IDLE_S
            threads = len(os.listdir("/proc/%d/task" % pid))
            print("idle_wakeups_per_s.%s %.2f (%d threads)" % (name.replace(" ", "_"), rate, threads))
        for name, pid in pids.items():
            print("resident_mib.%s %.1f" % (name.replace(" ", "_"), resident_mib(pid)))

        print("== another program's motion, with tovik2")
        beside = figures(session, build, "motion", MOVES, 8)
        if "motion_late_ms" in alone and "motion_late_ms" in beside:
            print("motion_late_ms with/without (median): %.4f / %.4f" % (beside["motion_late_ms"], alone["motion_late_ms"]))

        print("== a click to the first star mapped")
        figures(session, build, "click", 40, 400)
        status = program.status()
        print("tovik2 status after the clicks: stars=%s clicks=%s" % (status.get("stars"), status.get("clicks")))
        program.end()
    return 0


if __name__ == "__main__":
    sys.exit(main())
