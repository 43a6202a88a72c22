#!/usr/bin/env python3
"""The Linux end-to-end scenarios: the real tovik2 on a private Xvfb, driven by
xdotool into the tests' own X program, waiting on its status answer.

    scenarios.py --list
    scenarios.py NAME --tovik2 PATH --target PATH --artifacts DIR
"""
import argparse
import os
import signal
import struct
import sys
import zlib

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from harness import Failure, Target, Tovik2, XSession, wait_until  # noqa: E402

SCENARIOS = {}


def scenario(function):
    SCENARIOS[function.__name__] = function
    return function


def expect(condition, what):
    if not condition:
        raise Failure(what)


@scenario
def input_from_other_programs(session):
    """Clicks, moves and keys given to another program reach tovik2 too, and
    that program still takes every one of them (nothing is grabbed)."""
    target = Target(session)
    program = Tovik2(session)
    before = program.wait_ready()
    # Keys are only counted until the caret is known: no star, no tick.
    session.xdotool("type", "--delay", "20", "abc")
    wait_until(lambda: target.count("key") == 3, "three keys in the target")
    status = program.wait_status(lambda s: s["keys"] >= before["keys"] + 3, "three keys heard")
    expect(status["stars"] == before["stars"] and status["timer"] == 0 and status["queued"] == 0,
           "keys cost more than a count: %r" % status)
    for i in range(3):
        x, y = target.point(100 + 60 * i, 120)
        session.xdotool("mousemove", x, y, "click", 1)
    wait_until(lambda: target.count("release") == 3, "three clicks in the target")
    program.wait_status(lambda s: s["clicks"] >= before["clicks"] + 3, "three clicks heard")
    # Relative, as a mouse moves: Xvfb gives no raw motion for XTEST's absolute moves.
    session.xdotool("mousemove_relative", "--", 40, 30)
    program.wait_status(lambda s: s["moves"] > before["moves"], "a move heard")
    expect(target.count("press") == 3, "the target lost a press")
    status = program.wait_status(lambda s: s["queued"] == 0, "the input queue drained")
    expect(status["compositor"] == 1, "compositor not seen: %r" % status)
    ini = os.path.join(program.config, "tovik2", "tovik2.ini")
    expect(status["ini"] == ini, "settings named %r, not %r" % (status["ini"], ini))
    session.screenshot("end")


@scenario
def second_copy_refused(session):
    """A second start while one runs ends at once and says so; the first runs on."""
    first = Tovik2(session)
    first.wait_ready()
    second = Tovik2(session, name="second")
    code = wait_until(lambda: second.proc.poll() is not None and [second.proc.returncode],
                      "the second copy ended")[0]
    with open(os.path.join(session.artifacts, "second.log")) as f:
        said = f.read()
    expect("another copy is running (process %d)" % first.proc.pid in said,
           "the second copy did not name the running one: %r" % said)
    expect(code != 0, "the second copy ended with success")
    expect(not os.path.exists(second.socket), "the second copy left a status socket")
    expect(first.status()["pid"] == first.proc.pid, "the first copy stopped answering")
    # Once the first has ended, a new start runs.
    expect(first.end() == 0, "the first copy did not end cleanly")
    third = Tovik2(session, name="third")
    third.wait_ready()


@scenario
def no_compositor_seen(session):
    """Without a compositing manager the program knows it (it then shapes its stars)."""
    program = Tovik2(session)
    status = program.wait_ready()
    expect(status["compositor"] == 0, "a compositor seen where none runs: %r" % status)


@scenario
def sigterm_ends_cleanly(session):
    """SIGTERM and SIGINT end the program at once with success, its socket gone."""
    for sig in (signal.SIGTERM, signal.SIGINT):
        program = Tovik2(session, name="tovik2_%d" % sig)
        program.wait_ready()
        code = program.end(sig)
        expect(code == 0, "ended with %d after signal %d" % (code, sig))
        expect(not os.path.exists(program.socket), "the status socket outlived the program")


def write_settings(session, text):
    """The settings file where the session's Tovik2 looks for it."""
    folder = os.path.join(session.scratch, "config", "tovik2")
    os.makedirs(folder, mode=0o700, exist_ok=True)
    path = os.path.join(folder, "tovik2.ini")
    with open(path, "w", encoding="utf-8") as f:
        f.write(text)
    return path


def write_png(path, w, h, rgba):
    """A plain RGBA PNG of one colour."""
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
    rows = b"".join(b"\0" + bytes(rgba) * w for _ in range(h))
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, 6, 0, 0, 0))
                + chunk(b"IDAT", zlib.compress(rows)) + chunk(b"IEND", b""))


@scenario
def settings_written_and_kept(session):
    """A first start writes the settings file with every key; a file changed
    by hand is read at the next start, its numbers take effect, and it is kept."""
    first = Tovik2(session, name="first")
    first.wait_ready()
    path = os.path.join(first.config, "tovik2", "tovik2.ini")
    with open(path, encoding="utf-8") as f:
        written = f.read()
    for key in ("IMAGEFOLDER", "QUANTITY", "MOVERANGE", "MOUSECLICK", "MOUSEMOVE", "KEYENTRY", "ENTERKEY",
                "FULLSCREENPAUSE", "HOTKEY", "EXCLUDE", "LANGUAGE"):
        expect("\n%s=" % key in written, "%s missing from the first file:\n%s" % (key, written))
    expect(first.end() == 0, "the first start did not end cleanly")
    expect(open(path, encoding="utf-8").read() == written, "an end rewrote the settings file")

    changed = written.replace("QUANTITY=2", "QUANTITY=5").replace("MOUSEMOVE=1", "MOUSEMOVE=0")
    changed = "; the user's own note\n" + changed
    write_settings(session, changed)
    program = Tovik2(session, name="second")
    before = program.wait_ready()
    session.xdotool("mousemove", 400, 300, "click", 1)
    status = program.wait_status(lambda s: s["clicks"] > before["clicks"] and s["stars"] >= 5, "stars of a click")
    expect(status["stars"] == 5, "QUANTITY=5 gave %d stars" % status["stars"])
    session.xdotool("mousemove_relative", "--", 300, 200)
    session.xdotool("mousemove_relative", "--", 300, 200)
    status = program.wait_status(lambda s: s["moves"] > status["moves"] and s["queued"] == 0, "moves heard")
    expect(status["stars"] == 5, "MOUSEMOVE=0 still made stars: %d" % status["stars"])
    expect(program.end() == 0, "the second start did not end cleanly")
    expect(open(path, encoding="utf-8").read() == changed, "the file changed by hand was not kept as it was")


@scenario
def picture_folder_shown(session):
    """IMAGEFOLDER's pictures replace the built-in star, and a click shows them."""
    folder = os.path.join(session.scratch, "\u661f pictures")
    os.makedirs(folder)
    write_png(os.path.join(folder, "red.png"), 40, 40, (255, 0, 0, 255))
    write_png(os.path.join(folder, "blue.PNG"), 30, 30, (0, 0, 255, 200))
    write_settings(session, "[PIPWINK]\nIMAGEFOLDER=%s\nQUANTITY=3\n" % folder)
    program = Tovik2(session)
    before = program.wait_ready()
    expect(before["pictures"] == 2, "the folder's two pictures not in use: %r" % before)
    session.xdotool("mousemove", 500, 400, "click", 1)
    program.wait_status(lambda s: s["stars"] == 3, "stars of a click")
    sizes = {(star["w"], star["h"]) for star in program.stars()}
    expect(sizes <= {(40, 40), (30, 30)} and sizes, "stars not of the folder's pictures: %r" % sizes)
    session.screenshot("folder_stars")


# Scenarios that need a session without a compositor.
WITHOUT_COMPOSITOR = {"no_compositor_seen"}


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("name", nargs="?")
    parser.add_argument("--list", action="store_true")
    parser.add_argument("--tovik2")
    parser.add_argument("--target")
    parser.add_argument("--artifacts")
    args = parser.parse_args()
    if args.list:
        print(";".join(sorted(SCENARIOS)))
        return 0
    if args.name not in SCENARIOS:
        parser.error("no scenario %r" % args.name)
    tools = {"tovik2": args.tovik2, "target": args.target}
    try:
        with XSession(args.artifacts, tools, compositor=args.name not in WITHOUT_COMPOSITOR) as session:
            SCENARIOS[args.name](session)
    except Failure as failure:
        print("FAILED %s: %s (artifacts in %s)" % (args.name, failure, args.artifacts))
        return 1
    print("passed %s" % args.name)
    return 0


if __name__ == "__main__":
    sys.exit(main())
