"""Checks on the complete run that full_run.py kept.
    check_full_run.py OUT_DIR MAIL HOMEPAGE CHECK"""

import os
import sys

from vexa_e2e import (BYTES_PER_TEXEL, REPORT_NAME, Screenshot, fail, near, notepad_starts,
                      identity_from_probe, read_complete_report, without_extension_block)

out, mail, homepage, check = sys.argv[1:5]
with open(os.path.join(out, "probe.txt"), "rb") as f:
    identity, extensions = identity_from_probe(f.read(), mail, homepage)


def read(name):
    with open(os.path.join(out, name), "rb") as f:
        return f.read()


def report():
    return read(os.path.join("run", REPORT_NAME))


def check_report_layout():
    """Header with the implementation's own strings, the extension block,
    3 x 14 result blocks in the exact layout, nothing after."""
    blocks = read_complete_report(report(), identity, extensions, "report")
    for block in blocks:
        if block["error"] is not None:
            fail("Mesa supports every row, but pass %d row %d reports ERROR %s"
                 % (block["pass"] + 1, block["index"] + 1, block["error"].decode()))
        if min(block["sizes"][:3]) <= 0:
            fail("pass %d row %d has sizes %s" % (block["pass"] + 1, block["index"] + 1,
                                                  block["sizes"]))


def check_console():
    """The console shows the report's bytes, without the extension block."""
    console = read("console.bin")
    expected = without_extension_block(report())
    if console != expected:
        at = next((i for i, (a, b) in enumerate(zip(console, expected)) if a != b),
                  min(len(console), len(expected)))
        fail("console differs from the report at byte %d:\n console %r\n report  %r"
             % (at, console[at:at + 80], expected[at:at + 80]))
    if read("stderr.txt"):
        fail("unexpected output on stderr: %r" % read("stderr.txt")[:500])


def check_speeds():
    """Every rate is above zero, printed as %g, and MB/s is the row's bytes
    per texel times Mtex/s."""
    for block in read_complete_report(report(), identity, extensions, "report"):
        where = "pass %d row %d" % (block["pass"] + 1, block["index"] + 1)
        mtex, mb = float(block["mtex"]), float(block["mb"])
        for text, value in ((block["mtex"], mtex), (block["mb"], mb)):
            if (b"%g" % value) != text:
                fail("%s: %r is not printed as %%g" % (where, text))
        if not mtex > 0:
            fail("%s: speed %s is not above zero" % (where, mtex))
        expected = BYTES_PER_TEXEL[block["index"]] * mtex
        if abs(mb - expected) > 1e-5 * expected:
            fail("%s: %s MB/s is not %d x %s Mtex/s"
                 % (where, mb, BYTES_PER_TEXEL[block["index"]], mtex))


def check_exit_and_viewer():
    """Exit status 0 after at least 42 x 3 s, and the viewer started once, in
    the run's directory, on the report's name, after the report was complete."""
    status, seconds = read("status.txt").split()
    if int(status) != 0:
        fail("exit status %s" % status.decode())
    if float(seconds) < 126:
        fail("a complete run took only %s s" % seconds.decode())
    starts = notepad_starts(os.path.join(out, "notepad"))
    if len(starts) != 1:
        fail("the viewer was started %d times" % len(starts))
    cwd, args, saw = starts[0]
    if os.path.realpath(cwd) != os.path.realpath(os.path.join(out, "run")):
        fail("the viewer ran in %s" % cwd)
    if args != ["VexaTextureSpeed.txt"]:
        fail("the viewer's arguments were %r" % args)
    if saw != report():
        fail("the viewer saw %d bytes of the %d-byte report" % (len(saw), len(report())))


def white_in_band(shot, y, x_from=10, x_to=250):
    """White pixels of a text line whose raster position is (10, y)."""
    return sum(1 for yy in range(y - 3, y + 11) for x in range(x_from, x_to)
               if near(shot.pixel(x, yy), (255, 255, 255), 40))


def check_window_splash():
    """During the first measurement the window shows the splash: three white
    texts on black, no status lines, no square."""
    shot = Screenshot.load(os.path.join(out, "splash.xwd"))
    for y in (280, 180, 10):
        if white_in_band(shot, y) < 30:
            fail("no splash text at y = %d" % y)
    for y in (165, 150):
        if white_in_band(shot, y):
            fail("the splash has text at y = %d" % y)
    for point in ((100, 100), (150, 60), (250, 80), (290, 290)):
        if not near(shot.pixel(*point), (0, 0, 0)):
            fail("splash pixel %s is %s, not black" % (point, shot.pixel(*point)))


def check_window_status():
    """During the second measurement the window shows frame 1: the dark blue
    200 x 200 square at the lower left, the five white status lines, and the
    textured triangle to the right of the square."""
    shot = Screenshot.load(os.path.join(out, "status.xwd"))
    for point in ((2, 2), (100, 100), (197, 197), (190, 40), (100, 140)):
        if not near(shot.pixel(*point), (0, 0, 128)):
            fail("square pixel %s is %s, not dark blue" % (point, shot.pixel(*point)))
    for point in ((100, 203), (203, 100), (210, 140), (290, 140), (250, 20), (150, 250)):
        if not near(shot.pixel(*point), (0, 0, 0)):
            fail("pixel %s outside the square and the triangle is %s, not black"
                 % (point, shot.pixel(*point)))
    for y in (280, 180, 165, 150, 10):
        if white_in_band(shot, y, 10, 190) < 30:
            fail("no white status text at y = %d" % y)
    inside = [(x, y) for y in range(60, 140, 8) for x in range(212, 290, 8)
              if (y - 50) < 2 * (x - 200) - 4 and (y - 50) < 2 * (300 - x) - 4]
    textured = [p for p in inside if not near(shot.pixel(*p), (0, 0, 0), 2)]
    if len(textured) < len(inside) // 2:
        fail("only %d of %d points inside the triangle are drawn" % (len(textured), len(inside)))


globals()["check_" + check]()
print("%s: passed" % check)
