"""The Linux end-to-end tier's harness: a private Xvfb (on a display number it
picks itself) with or without xcompmgr, the tests' own X target program, the
real tovik2 with its status socket, xdotool input, waiting on state with a
deadline, screenshots kept as artifacts. It ends only the processes it
started."""
import os
import select
import signal
import subprocess
import tempfile
import time

import status_client

POLL_S = 0.02


class Failure(Exception):
    pass


def wait_until(predicate, what, deadline_s=10.0):
    """predicate()'s first true value; Failure when none came before the deadline."""
    end = time.monotonic() + deadline_s
    last = None
    while True:
        try:
            value = predicate()
            if value:
                return value
            last = value
        except (OSError, ValueError) as error:  # not answering yet
            last = error
        if time.monotonic() > end:
            raise Failure("no %s within %.0f s (last seen: %r)" % (what, deadline_s, last))
        time.sleep(POLL_S)


class XSession:
    """Xvfb, optionally xcompmgr, and every process started on them."""

    def __init__(self, artifacts, tools, compositor=True, size="1280x800"):
        self.artifacts = artifacts
        self.tools = tools
        self.compositor = compositor
        self.size = size
        self.procs = []
        self.env = dict(os.environ)
        self.scratch = tempfile.mkdtemp(prefix="tovik2-linux-")
        os.makedirs(artifacts, exist_ok=True)

    def __enter__(self):
        read_end, write_end = os.pipe()
        xvfb = self.start(["Xvfb", "-displayfd", str(write_end), "-screen", "0", self.size + "x24",
                           "-nolisten", "tcp", "-noreset"], name="xvfb", pass_fds=(write_end,))
        os.close(write_end)
        number = b""
        end = time.monotonic() + 20
        while not number.endswith(b"\n"):
            ready, _, _ = select.select([read_end], [], [], max(0.0, end - time.monotonic()))
            if not ready or xvfb.poll() is not None:
                raise Failure("Xvfb gave no display number")
            chunk = os.read(read_end, 16)
            if not chunk:
                raise Failure("Xvfb closed its display pipe")
            number += chunk
        os.close(read_end)
        self.env["DISPLAY"] = ":" + number.decode().strip()
        self.env.pop("WAYLAND_DISPLAY", None)
        if self.compositor:
            self.start(["xcompmgr"], name="xcompmgr")
            wait_until(lambda: self.run([self.tools["target"], "compositor"]).returncode == 0,
                       "compositor owning _NET_WM_CM_S0")
        return self

    def __exit__(self, kind, value, trace):
        if kind is not None:
            try:
                self.screenshot("failure")
            except Exception:  # the display may be what failed
                pass
        for proc in reversed(self.procs):
            if proc.poll() is None:
                proc.terminate()
                try:
                    proc.wait(5)
                except subprocess.TimeoutExpired:
                    proc.kill()
                    proc.wait()
        subprocess.run(["rm", "-rf", self.scratch])
        return False

    def start(self, argv, name, env=None, pass_fds=()):
        log = open(os.path.join(self.artifacts, name + ".log"), "wb")
        proc = subprocess.Popen(argv, env=env or self.env, stdout=log, stderr=subprocess.STDOUT,
                                stdin=subprocess.DEVNULL, pass_fds=pass_fds)
        log.close()
        self.procs.append(proc)
        return proc

    def run(self, argv, check=False):
        return subprocess.run(argv, env=self.env, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                              check=check, timeout=30)

    def xdotool(self, *words):
        result = self.run(["xdotool"] + [str(w) for w in words])
        if result.returncode != 0:
            raise Failure("xdotool %s: %s" % (" ".join(map(str, words)), result.stdout.decode()))

    def screenshot(self, name):
        path = os.path.join(self.artifacts, name + ".png")
        self.run(["import", "-window", "root", path], check=True)
        return path


class Target:
    """The tests' own X program: a plain window that logs the input it takes."""

    def __init__(self, session, x=100, y=100, w=600, h=500, name="target"):
        self.session = session
        self.origin = (x, y)
        self.size = (w, h)
        self.log = os.path.join(session.artifacts, name + ".input")
        self.proc = session.start([session.tools["target"], "window", str(x), str(y), str(w), str(h), self.log],
                                  name=name)
        wait_until(lambda: "ready" in self.lines(), "target window shown")

    def lines(self):
        try:
            with open(self.log) as f:
                return [line.split()[0] if line.split() else "" for line in f]
        except FileNotFoundError:
            return []

    def count(self, kind):
        return self.lines().count(kind)

    def point(self, dx, dy):
        """A screen point inside the window."""
        return self.origin[0] + dx, self.origin[1] + dy


class Tovik2:
    """The real program with its status socket, settings and lock in the session's scratch folder."""

    def __init__(self, session, name="tovik2", env=None):
        self.session = session
        self.socket = os.path.join(session.scratch, name + ".status")
        self.config = os.path.join(session.scratch, "config")
        self.runtime = os.path.join(session.scratch, "run")
        os.makedirs(self.runtime, mode=0o700, exist_ok=True)
        self.env = dict(session.env, TOVIK2_STATUS=self.socket, XDG_CONFIG_HOME=self.config,
                        XDG_RUNTIME_DIR=self.runtime)
        self.env.update(env or {})
        self.proc = session.start([session.tools["tovik2"]], name=name, env=self.env)

    def wait_ready(self):
        return wait_until(lambda: self.proc.poll() is None and self.status(), "status answer", 20)

    def status(self):
        if self.proc.poll() is not None:
            raise Failure("tovik2 ended with %s" % self.proc.returncode)
        return status_client.status(self.socket)

    def stars(self):
        return status_client.stars(self.socket)

    def wait_status(self, predicate, what, deadline_s=10.0):
        return wait_until(lambda: (lambda s: s if predicate(s) else None)(self.status()), what, deadline_s)

    def end(self, sig=signal.SIGTERM, deadline_s=10.0):
        """Sends the signal; the exit code once it has ended."""
        self.proc.send_signal(sig)
        try:
            return self.proc.wait(deadline_s)
        except subprocess.TimeoutExpired:
            raise Failure("tovik2 still runs %.0f s after signal %d" % (deadline_s, sig))
