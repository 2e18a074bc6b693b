"""Helpers for the end-to-end tests: run the real benchmark in a directory of
its own, watch its console, look at its window, press its keys, and read its
report against the layout it must have."""

import atexit
import os
import re
import shutil
import struct
import subprocess
import threading
import time
import zlib

REPORT_NAME = "VexaTextureSpeed.txt"
RULE = b"-" * 33 + b"\r\n"
RULE_LINE = RULE + b"\r\n"
BYTES_PER_TEXEL = [4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 2, 4, 2, 3]
FORMAT_COUNT = 14
BACK_HEADING = b"\r\n\r\nFramebuffer texture speed (back)\r\n"
FRONT_HEADING = b"\r\n\r\nFramebuffer texture speed (front)\r\n"
UPLOAD_HEADING = b"Texture uploading speed\r\n"

# A stand-in for the text viewer: it records where and with what it was
# started, and what the report held at that moment.
FAKE_NOTEPAD = """#!/bin/sh
cat VexaTextureSpeed.txt > "{log}/saw.tmp" 2>/dev/null
{{ pwd; printf '%s\\n' "$@"; }} > "{log}/args.tmp"
mv "{log}/saw.tmp" "{log}/saw.$$"
mv "{log}/args.tmp" "{log}/args.$$"
"""


def fail(message):
    raise AssertionError(message)


def make_fake_notepad(folder, script=FAKE_NOTEPAD):
    """Puts a recording `notepad` into folder/bin and returns (bin, log).
    script: the viewer's shell text, with {log} for the log folder."""
    bin_dir = os.path.join(folder, "bin")
    log_dir = os.path.join(folder, "notepad")
    os.makedirs(bin_dir, exist_ok=True)
    os.makedirs(log_dir, exist_ok=True)
    path = os.path.join(bin_dir, "notepad")
    with open(path, "w") as f:
        f.write(script.format(log=log_dir))
    os.chmod(path, 0o755)
    return bin_dir, log_dir


def notepad_starts(log_dir, wait_seconds=0.0):
    """The viewer starts recorded so far: a list of (cwd, args, report seen).
    Waits up to wait_seconds for at least one."""
    deadline = time.monotonic() + wait_seconds
    while True:
        starts = []
        for name in sorted(os.listdir(log_dir)):
            if name.startswith("args."):
                with open(os.path.join(log_dir, name), "rb") as f:
                    lines = f.read().decode().split("\n")
                with open(os.path.join(log_dir, "saw." + name[5:]), "rb") as f:
                    saw = f.read()
                starts.append((lines[0], lines[1:-1], saw))
        if starts or time.monotonic() >= deadline:
            return starts
        time.sleep(0.1)


def _kill_left_over_runs():
    # A check that failed half-way leaves no benchmark running behind it.
    for run in Run.started_runs:
        if run.process.poll() is None:
            run.process.kill()


atexit.register(_kill_left_over_runs)


class Run:
    """The benchmark running in run_dir, its console read as it comes."""

    started_runs = []

    def __init__(self, program, run_dir, path_prefix=None, env=None):
        environment = dict(os.environ if env is None else env)
        if path_prefix:
            environment["PATH"] = path_prefix + os.pathsep + environment.get("PATH", "")
        self.started = time.monotonic()
        self.process = subprocess.Popen([program], cwd=run_dir, env=environment,
                                        stdout=subprocess.PIPE, stderr=subprocess.PIPE)
        Run.started_runs.append(self)
        self.console = b""
        self.stderr = b""
        self._lock = threading.Condition()
        self._readers = [
            threading.Thread(target=self._read, args=(self.process.stdout, "console"), daemon=True),
            threading.Thread(target=self._read, args=(self.process.stderr, "stderr"), daemon=True)]
        for reader in self._readers:
            reader.start()

    def _read(self, stream, name):
        while True:
            chunk = stream.read1(65536)
            with self._lock:
                if chunk:
                    setattr(self, name, getattr(self, name) + chunk)
                self._lock.notify_all()
            if not chunk:
                return

    def wait_for_console(self, text, count=1, timeout=60):
        """Waits until text has appeared count times on the console."""
        deadline = time.monotonic() + timeout
        with self._lock:
            while self.console.count(text) < count:
                if self.process.poll() is not None and all(not r.is_alive() for r in self._readers):
                    fail("the program ended before %r appeared; console:\n%r\nstderr:\n%r"
                         % (text, self.console[-2000:], self.stderr[-2000:]))
                if time.monotonic() >= deadline:
                    fail("%r did not appear within %s s; console so far:\n%r"
                         % (text, timeout, self.console[-2000:]))
                self._lock.wait(0.2)

    def wait(self, timeout):
        """Waits for the end of the program and returns its exit status."""
        try:
            status = self.process.wait(timeout)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()
            fail("the program did not end within %s s" % timeout)
        for reader in self._readers:
            reader.join()
        return status

    def seconds(self):
        return time.monotonic() - self.started


def press_key(key):
    """Moves the pointer into the window (the window has focus while the
    pointer is in it: there is no window manager) and presses key."""
    subprocess.run(["xdotool", "mousemove", "150", "150", "key", key], check=True)


class Screenshot:
    """The screen of the current X display; pixel() takes window
    coordinates from the lower-left corner of the 300 x 300 window, which
    sits at the top-left corner of the screen."""

    def __init__(self, xwd_bytes):
        header = struct.unpack(">25I", xwd_bytes[:100])
        header_size, pixmap_format = header[0], header[2]
        self.width, self.height = header[4], header[5]
        byte_order, bits_per_pixel, bytes_per_line = header[7], header[11], header[12]
        self.masks = header[14:17]
        colours = header[19]
        if pixmap_format != 2 or bits_per_pixel not in (24, 32):
            fail("unexpected screenshot format %d with %d bits per pixel"
                 % (pixmap_format, bits_per_pixel))
        self.pixel_bytes = bits_per_pixel // 8
        self.data = xwd_bytes[header_size + 12 * colours:]
        self.bytes_per_line = bytes_per_line
        self.order = "<" if byte_order == 0 else ">"

    @staticmethod
    def take(save_as=None):
        shot = subprocess.run(["xwd", "-root", "-silent"], check=True, capture_output=True).stdout
        if save_as:
            with open(save_as, "wb") as f:
                f.write(shot)
        return Screenshot(shot)

    @staticmethod
    def load(path):
        with open(path, "rb") as f:
            return Screenshot(f.read())

    def save_window_png(self, path):
        """The 300 x 300 window as a PNG, for a person to look at."""
        rows = b"".join(b"\0" + bytes(c for x in range(300) for c in self.pixel(x, y))
                        for y in range(299, -1, -1))

        def chunk(kind, body):
            return (struct.pack(">I", len(body)) + kind + body
                    + struct.pack(">I", zlib.crc32(kind + body)))

        with open(path, "wb") as f:
            f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", 300, 300, 8, 2, 0, 0, 0))
                    + chunk(b"IDAT", zlib.compress(rows)) + chunk(b"IEND", b""))

    def pixel(self, x, y):
        row = 299 - y
        offset = row * self.bytes_per_line + self.pixel_bytes * x
        value = int.from_bytes(self.data[offset:offset + self.pixel_bytes],
                               "little" if self.order == "<" else "big")
        rgb = []
        for mask in self.masks:
            shift = (mask & -mask).bit_length() - 1
            rgb.append((value & mask) >> shift)
        return tuple(rgb)


def near(colour, expected, tolerance=8):
    return all(abs(a - b) <= tolerance for a, b in zip(colour, expected))


class Cursor:
    """Reads a report from the start, literal by literal, and says where
    and what it found when the text is not what it must be."""

    def __init__(self, data, name):
        self.data = data
        self.pos = 0
        self.name = name

    def _context(self):
        return "%s at byte %d: %r" % (self.name, self.pos, self.data[self.pos:self.pos + 120])

    def literal(self, text):
        if not self.data.startswith(text, self.pos):
            fail("expected %r\n  found %s" % (text, self._context()))
        self.pos += len(text)

    def line(self, prefix):
        """A line starting with prefix; returns the rest up to CR LF."""
        self.literal(prefix)
        end = self.data.find(b"\r\n", self.pos)
        if end < 0:
            fail("no CR LF after %r: %s" % (prefix, self._context()))
        value = self.data[self.pos:end]
        self.pos = end + 2
        return value

    def regex(self, pattern):
        match = re.compile(pattern).match(self.data, self.pos)
        if not match:
            fail("expected /%s/\n  found %s" % (pattern.decode(), self._context()))
        self.pos = match.end()
        return match

    def at_end(self):
        if self.pos != len(self.data):
            fail("unexpected text after the end: %s" % self._context())


NUMBER = rb"([0-9][0-9.e+-]*)"
BLOCK = (rb"(?:ERROR ([0-9]+)\r\n)?Format: ([0-9][0-9]) - "
         rb"Size: R=(-?[0-9]+) G=(-?[0-9]+) B=(-?[0-9]+) A=(-?[0-9]+)\r\n"
         rb"Speed:  " + NUMBER + rb" Mtex/s  " + NUMBER + rb" MB/s\r\n\r\n")


def read_header(cursor, identity, extensions=None):
    """identity: (mail, homepage, vendor, version, renderer) as bytes.
    extensions: the extension string, where the extension block must be."""
    mail, homepage, vendor, version, renderer = identity
    cursor.literal(b"Vexa's texture/framebuffer speed test\r\n")
    cursor.literal(b"Mail: " + mail + b"\r\n")
    cursor.literal(b"Homepage: " + homepage + b"\r\n\r\n")
    cursor.literal(b"Vendor: " + vendor + b"\r\n")
    cursor.literal(b"Version: " + version + b"\r\n")
    cursor.literal(b"Renderer: " + renderer + b"\r\n")
    cursor.literal(b"\r\n")
    if extensions is not None:
        cursor.literal(RULE + b"OpenGL extensions:\r\n" + extensions + b"\r\n" + RULE_LINE)
    cursor.literal(UPLOAD_HEADING + RULE_LINE)


def read_blocks(cursor, count):
    """Reads up to count result blocks in run order (with the pass headings
    between them); returns them as dicts."""
    blocks = []
    for n in range(count):
        index = n % FORMAT_COUNT
        if n == FORMAT_COUNT:
            cursor.literal(BACK_HEADING + RULE_LINE)
        if n == 2 * FORMAT_COUNT:
            cursor.literal(FRONT_HEADING + RULE_LINE)
        match = cursor.regex(BLOCK)
        if int(match.group(2)) != index + 1 or match.group(2) != b"%02d" % (index + 1):
            fail("block %d has format number %r, not %02d" % (n + 1, match.group(2), index + 1))
        blocks.append({
            "pass": n // FORMAT_COUNT,
            "index": index,
            "error": match.group(1),
            "sizes": tuple(int(match.group(g)) for g in range(3, 7)),
            "mtex": match.group(7),
            "mb": match.group(8),
        })
    return blocks


def read_complete_report(data, identity, extensions, name):
    cursor = Cursor(data, name)
    read_header(cursor, identity, extensions)
    blocks = read_blocks(cursor, 3 * FORMAT_COUNT)
    cursor.at_end()
    return blocks


def without_extension_block(report):
    start = report.find(RULE + b"OpenGL extensions:\r\n")
    end = report.find(UPLOAD_HEADING, start)
    if start < 0 or end < 0:
        fail("the report has no extension block")
    return report[:start] + report[end:]


def identity_from_probe(probe_output, mail, homepage):
    """(identity, extensions) as read_header wants them, from what gl_probe
    printed: vendor, version, renderer and extensions, one a line (CR LF
    from the Windows probe, whose stdout is in text mode)."""
    lines = [line.rstrip(b"\r") for line in probe_output.split(b"\n")]
    return (mail.encode(), homepage.encode(), lines[0], lines[1], lines[2]), lines[3]


def fresh_dir(path):
    shutil.rmtree(path, ignore_errors=True)
    os.makedirs(path)
    return path
