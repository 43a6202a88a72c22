#!/usr/bin/env python3
"""Client of tovik2's status answer: one command line on the Unix socket named
by TOVIK2_STATUS, the answer read until the program closes the connection.

    python3 status_client.py SOCKET status|stars
"""
import socket
import sys


def ask(path, command, timeout=5.0):
    """The program's whole answer to one command, as text."""
    with socket.socket(socket.AF_UNIX, socket.SOCK_STREAM) as s:
        s.settimeout(timeout)
        s.connect(path)
        s.sendall(command.encode() + b"\n")
        chunks = []
        while True:
            chunk = s.recv(65536)
            if not chunk:
                break
            chunks.append(chunk)
    return b"".join(chunks).decode()


def parse_pairs(line):
    """key=value words; numbers (decimal or 0x…) become ints, the rest stays text."""
    pairs = {}
    for word in line.split():
        key, _, value = word.partition("=")
        try:
            pairs[key] = int(value, 0)
        except ValueError:
            pairs[key] = value
    return pairs


def status(path):
    """The status line as a dict (ini, the last key, may hold spaces)."""
    line = ask(path, "status").strip()
    head, sep, ini = line.partition(" ini=")
    pairs = parse_pairs(head)
    if sep:
        pairs["ini"] = ini
    return pairs


def stars(path):
    """One dict per star in the list; the answer must end with 'end'."""
    lines = ask(path, "stars").splitlines()
    if not lines or lines[-1] != "end":
        raise ValueError("stars answer without its end line: %r" % lines[-3:])
    return [parse_pairs(line) for line in lines[:-1]]


if __name__ == "__main__":
    if len(sys.argv) != 3 or sys.argv[2] not in ("status", "stars"):
        sys.exit(__doc__)
    sys.stdout.write(ask(sys.argv[1], sys.argv[2]))
