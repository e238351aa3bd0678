"""Answers korvel.exe's menus with keys on a pseudo-terminal under Wine.

On a terminal Wine gives the program a real console, so the keys arrive as
console input events (ReadConsoleInput), not as bytes of a pipe. Each key is
sent once the screen that asks for it has appeared; keys sent early would
wait in korvel's key queue anyway, so the dialogue cannot race.

Usage (in the working folder): wine-pty.py  ->  exit status 0 when the run
went through every screen and ended with status 0.
"""
import fcntl
import os
import pty
import re
import select
import struct
import sys
import termios
import time

F1, UP = b"\x1bOP", b"\x1b[A"
# (text to wait for, keys to send). The texts are short lines: the console
# may redraw long ones in pieces.
DIALOGUE = [
    ("<2> no, end", b"1"),  # terms of use; F1 and "x" first, both ignored
    ("FONT CONSOLAS", None),
    ("<2> end", b"1"),
    ("INSTALLED IN YOUR OWN DIRECTORY", None),
    ("<2> end", b"1"),
    ("velmor_*.exe", None),  # the tool checks passed
    ("Indexing files", None),
    ("<2> end", b"1"),
    ("<...> any key to continue and end", UP),  # an extended key ends it
]


def clean(raw):
    text = raw.decode("latin-1").replace("\r", "")
    text = re.sub(r"\x1b\[(\d*)C", lambda m: " " * int(m.group(1) or 1), text)
    return re.sub(r"\x1b(\[[0-9;?]*[A-Za-z]|\][^\x07]*\x07|[()][A-Z0-9]|[=>])", "", text)


def main():
    pid, fd = pty.fork()
    if pid == 0:
        os.environ["TERM"] = "xterm"
        os.execvp("wine", ["wine", "korvel.exe"])
    fcntl.ioctl(fd, termios.TIOCSWINSZ, struct.pack("HHHH", 50, 160, 0, 0))
    raw = bytearray()
    closed = False

    def pump(seconds):
        nonlocal closed
        deadline = time.monotonic() + seconds
        while not closed and time.monotonic() < deadline:
            ready, _, _ = select.select([fd], [], [], 0.05)
            if ready:
                try:
                    data = os.read(fd, 65536)
                except OSError:
                    data = b""
                if not data:
                    closed = True
                raw.extend(data)

    def fail(why):
        print("wine-pty: " + why, file=sys.stderr)
        print("--- the screen so far, cleaned:\n" + clean(bytes(raw))[-3000:], file=sys.stderr)
        try:
            os.kill(pid, 9)
        except OSError:
            pass
        sys.exit(1)

    position = 0
    for step, (wanted, keys) in enumerate(DIALOGUE):
        deadline = time.monotonic() + 60
        while True:
            found = clean(bytes(raw)).find(wanted, position)
            if found >= 0:
                position = found + len(wanted)
                break
            if closed or time.monotonic() > deadline:
                fail("never saw %r (step %d)" % (wanted, step + 1))
            pump(0.2)
        if step == 0:
            os.write(fd, F1 + b"x")
            pump(1.5)
            if "FONT CONSOLAS" in clean(bytes(raw)):
                fail("F1 or x answered the terms of use")
        if keys:
            os.write(fd, keys)
    deadline = time.monotonic() + 60
    while True:
        done, status = os.waitpid(pid, os.WNOHANG)
        if done:
            break
        if time.monotonic() > deadline:
            fail("the run did not end after the last key")
        pump(0.2)
    if not os.WIFEXITED(status) or os.WEXITSTATUS(status) != 0:
        fail("the run ended with status %r" % status)


main()
