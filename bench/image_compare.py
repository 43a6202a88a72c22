#!/usr/bin/python3
"""The image road beside its references, in one run.

Each round runs the native image benchmark (decode and convert beside
libpng's own RGBA read; the reductions the program asks for) and then times
Pillow's box filter on the same reductions, and prints every figure with its
reference and their ratio. Times are processor time per call, the least of a
few runs (the machine may be shared; processor time is what the work costs,
wall time also counts the waiting). The closing table gives the median ratio
of all rounds.

Usage (Debian's python3 with python3-pil):
  /usr/bin/python3 bench/image_compare.py [IMAGE_BENCH] [--rounds N]
IMAGE_BENCH defaults to build/bench/bench/image_bench.
"""
import argparse
import json
import os
import statistics
import subprocess
import time

from PIL import Image

# (source width, height, target width, height) as the program reduces.
REDUCTIONS = [(2048, 2048, 72, 72), (72, 72, 48, 48), (240, 32, 120, 16)]
DECODES = ["BM_LoadPngAndConvert/2048", "BM_LoadStarPixelsAtOwnSize/2048"]
LIBPNG = "BM_LibpngReadRgba/2048"


def native_figures(bench, runs=3):
    """Processor microseconds per call of each native benchmark of interest:
    the least of a few runs of the whole set, so that a burst of load on the
    machine during one of them does not count against one side alone."""
    pattern = "(LoadPngAndConvert|LoadStarPixelsAtOwnSize|LibpngReadRgba)/2048|ReduceImage"
    scale = {"ns": 1e-3, "us": 1.0, "ms": 1e3, "s": 1e6}
    best = {}
    for _ in range(runs):
        out = subprocess.run([bench, "--benchmark_filter=" + pattern, "--benchmark_format=json",
                              "--benchmark_min_time=0.3"], check=True, capture_output=True, text=True).stdout
        for b in json.loads(out)["benchmarks"]:
            figure = b["cpu_time"] * scale[b["time_unit"]]
            best[b["name"]] = min(best.get(b["name"], figure), figure)
    return best


def pillow_box(mode, sizes, runs=3, seconds=0.3):
    """Processor microseconds per call of Image.resize(..., BOX), the least
    of a few runs as for the native figures.

    Mode RGBa is colour already premultiplied, as the program's pixels are
    (the same work); RGBA makes Pillow premultiply before and divide after."""
    sw, sh, tw, th = sizes
    image = Image.frombytes(mode, (sw, sh), os.urandom(sw * sh * 4))
    best = None
    for _ in range(runs):
        calls, start = 0, time.process_time()
        while time.process_time() - start < seconds or calls < 5:
            image.resize((tw, th), Image.BOX)
            calls += 1
        figure = (time.process_time() - start) / calls * 1e6
        best = figure if best is None else min(best, figure)
    return best


def one_round(bench):
    native = native_figures(bench)
    rows = []
    for name in DECODES:
        rows.append((name, native[name], "libpng RGBA read", native[LIBPNG]))
    for sizes in REDUCTIONS:
        name = "BM_ReduceImage/" + "/".join(str(v) for v in sizes)
        for mode in ("RGBa", "RGBA"):
            rows.append((name, native[name], "Pillow BOX " + mode, pillow_box(mode, sizes)))
    return rows


def show(rows):
    for name, ours, ref_name, ref in rows:
        print(f"  {name:36} {ours:10.1f} us   {ref_name:18} {ref:10.1f} us   ratio {ours / ref:5.2f}")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("bench", nargs="?", default="build/bench/bench/image_bench")
    parser.add_argument("--rounds", type=int, default=3)
    args = parser.parse_args()
    print("Pillow", Image.__version__ if hasattr(Image, "__version__") else "?",
          "| load average", " ".join(f"{v:.2f}" for v in os.getloadavg()))
    ratios = {}
    for r in range(args.rounds):
        print(f"round {r + 1}")
        rows = one_round(args.bench)
        show(rows)
        for name, ours, ref_name, ref in rows:
            ratios.setdefault((name, ref_name), []).append(ours / ref)
    print("median ratio over", args.rounds, "rounds (below 1: faster than the reference)")
    for (name, ref_name), values in ratios.items():
        print(f"  {name:36} / {ref_name:18} {statistics.median(values):5.2f}")
    print("load average at the end", " ".join(f"{v:.2f}" for v in os.getloadavg()))


if __name__ == "__main__":
    main()
