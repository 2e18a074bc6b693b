"""Helpers for the robustness tests: read a report that a run left behind
when it was cut short, compare it with what the console showed, run a
private X server that a test may take away, and act on the window as a
window system does."""

import ctypes
import os
import re
import signal
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))

from vexa_e2e import (BACK_HEADING, BLOCK, FORMAT_COUNT, FRONT_HEADING, RULE_LINE,  # noqa: E402
                      Cursor, fail, identity_from_probe, make_fake_notepad, read_header,
                      without_extension_block)

BLOCK_COUNT = 3 * FORMAT_COUNT

# What the program writes with one write to each output: a whole block line,
# a heading or a rule line. A run that dies leaves whole pieces behind.
PIECE = re.compile(rb"(?:ERROR [0-9]+\r\n"
                   rb"|Format: [0-9][0-9] - "
                   rb"|Size: R=-?[0-9]+ G=-?[0-9]+ B=-?[0-9]+ A=-?[0-9]+\r\n"
                   rb"|Speed:  [0-9][0-9.e+-]* Mtex/s  [0-9][0-9.e+-]* MB/s\r\n\r\n"
                   rb"|" + re.escape(BACK_HEADING) + rb"|" + re.escape(FRONT_HEADING) +
                   rb"|" + re.escape(RULE_LINE) + rb")\Z")

# The start of a result block, cut after any of its pieces.
PARTIAL_BLOCK = (rb"(?:ERROR [0-9]+\r\n)?(?:Format: %02d - "
                 rb"(?:Size: R=-?[0-9]+ G=-?[0-9]+ B=-?[0-9]+ A=-?[0-9]+\r\n)?)?\Z")


def read_report_prefix(data, identity, extensions, name):
    """Reads the start of a report: the whole header, then whole result
    blocks in run order with the pass headings between them, then at most
    the first pieces of what comes next. Returns (blocks, tail): the
    number of whole blocks and the bytes after them."""
    cursor = Cursor(data, name)
    read_header(cursor, identity, extensions)
    blocks = 0
    while blocks < BLOCK_COUNT and cursor.pos < len(data):
        heading = {FORMAT_COUNT: BACK_HEADING, 2 * FORMAT_COUNT: FRONT_HEADING}.get(blocks)
        if heading:
            rest = data[cursor.pos:]
            if rest == heading:
                return blocks, rest
            cursor.literal(heading + RULE_LINE)
            if cursor.pos == len(data):
                break
        number = blocks % FORMAT_COUNT + 1
        match = re.compile(BLOCK).match(data, cursor.pos)
        if match and match.group(2) == b"%02d" % number:
            cursor.pos = match.end()
            blocks += 1
            continue
        tail = data[cursor.pos:]
        if tail and re.match(PARTIAL_BLOCK % number, tail):
            return blocks, tail
        fail("%s: after %d whole blocks, neither block %d nor the start of it: %r"
             % (name, blocks, blocks + 1, tail[:200]))
    cursor.at_end()
    return blocks, b""


def check_report_holds_console(report, console, name):
    """The report file, less its extension block, holds every byte that the
    console showed, in the same order, and at most the one piece more that
    was being written when the program ended (the file is written first)."""
    file_text = without_extension_block(report)
    if not file_text.startswith(console):
        at = next((i for i, (a, b) in enumerate(zip(file_text, console)) if a != b),
                  min(len(file_text), len(console)))
        fail("%s: the report lacks what the console showed, from byte %d:\n"
             " console %r\n report  %r" % (name, at, console[at:at + 80], file_text[at:at + 80]))
    extra = file_text[len(console):]
    if extra and not PIECE.match(extra):
        fail("%s: the report holds more than the one piece in writing: %r" % (name, extra[:200]))


def count_blocks(console):
    return console.count(b"Speed:  ")


class PrivateX:
    """An Xvfb of the test's own, which the test may take away: the display
    is exported to this process (and so to what it starts) while it runs."""

    def __init__(self):
        read_end, write_end = os.pipe()
        self.process = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1024x768x24",
             "-nolisten", "tcp", "-noreset"],  # as in tools/with-xvfb.sh
            pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_end)
        number = b""
        deadline = time.monotonic() + 30
        while not number.endswith(b"\n"):
            if time.monotonic() > deadline:
                self.stop()
                fail("Xvfb did not become ready")
            chunk = os.read(read_end, 16)
            if not chunk:
                self.stop()
                fail("Xvfb did not start")
            number += chunk
        os.close(read_end)
        self.display = ":" + number.decode().strip()
        os.environ["DISPLAY"] = self.display

    def stop(self, sig=signal.SIGTERM):
        if self.process.poll() is None:
            self.process.send_signal(sig)
        self.process.wait()

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.stop()


def program_window(run, program):
    """The id of the benchmark's window: its title is the program's path.
    Waits as long as the program may take to start on a loaded machine."""
    deadline = time.monotonic() + 60
    while True:
        search = subprocess.run(["xdotool", "search", "--name", os.path.basename(program)],
                                capture_output=True)
        if search.stdout.split():
            return search.stdout.split()[0].decode()
        if run.process.poll() is not None or time.monotonic() > deadline:
            fail("no window of %s on %s (program %s); xdotool said %r; stderr %r"
                 % (program, os.environ.get("DISPLAY"),
                    "still running" if run.process.poll() is None
                    else describe_status(run.process.returncode), search.stderr, run.stderr))
        time.sleep(0.2)


class _ClientMessage(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", ctypes.c_ulong),
                ("message_type", ctypes.c_ulong), ("format", ctypes.c_int),
                ("data", ctypes.c_long * 5)]


class _Event(ctypes.Union):
    _fields_ = [("xclient", _ClientMessage), ("pad", ctypes.c_long * 24)]


def ask_window_to_close(window):
    """Sends WM_DELETE_WINDOW, which is what a window manager does when the
    window's close button is clicked (xdotool cannot send it)."""
    x11 = ctypes.CDLL("libX11.so.6")
    x11.XOpenDisplay.restype = ctypes.c_void_p
    x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
    x11.XInternAtom.restype = ctypes.c_ulong
    x11.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
    x11.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long,
                               ctypes.POINTER(_Event)]
    x11.XFlush.argtypes = [ctypes.c_void_p]
    x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
    display = x11.XOpenDisplay(None)
    if not display:
        fail("cannot open display %s" % os.environ.get("DISPLAY"))
    event = _Event()
    event.xclient.type = 33  # ClientMessage
    event.xclient.window = int(window)
    event.xclient.message_type = x11.XInternAtom(display, b"WM_PROTOCOLS", 0)
    event.xclient.format = 32
    event.xclient.data[0] = x11.XInternAtom(display, b"WM_DELETE_WINDOW", 0)
    if not x11.XSendEvent(display, int(window), 0, 0, ctypes.byref(event)):
        fail("XSendEvent failed")
    x11.XFlush(display)
    x11.XCloseDisplay(display)


# A stand-in for the text viewer that records where and with what it was
# started, without reading the report (which may be /dev/full: endless).
RECORDING_VIEWER = """#!/bin/sh
{{ pwd; printf '%s\\n' "$@"; }} > "{log}/args.tmp"
: > "{log}/saw.$$"
mv "{log}/args.tmp" "{log}/args.$$"
"""


def make_recording_viewer(folder):
    """Puts a recording `notepad` into folder/bin; returns (bin, log) for
    notepad_starts, which then sees an empty report for each start."""
    return make_fake_notepad(folder, RECORDING_VIEWER)


def describe_status(status):
    if status < 0:
        return "killed by %s" % signal.Signals(-status).name
    return "exit status %d" % status


def probe_identity(probe, mail, homepage):
    """(identity, extensions) as the report header must give them, from
    gl_probe on the current display."""
    output = subprocess.run([probe], check=True, capture_output=True).stdout
    return identity_from_probe(output, mail, homepage)
