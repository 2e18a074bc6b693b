"""Keys and clicks during measurements, on the current X display: keys other
than Escape (letters, Ctrl-C, Return, function and arrow keys) and mouse
clicks during the first two measurements change nothing, and Escape pressed
twice during the third ends the run after it: exactly three result blocks,
in order, the same on the console and in the report, status 0, no viewer.
    test_keys.py PROGRAM GL_PROBE WORK_DIR MAIL HOMEPAGE"""

import os
import subprocess
import sys
import time

from robust_e2e import describe_status, probe_identity
from vexa_e2e import (REPORT_NAME, RULE_LINE, Cursor, Run, fail, fresh_dir, make_fake_notepad,
                      notepad_starts, read_blocks, read_header, without_extension_block)

program, probe, work, mail, homepage = sys.argv[1:6]
identity, extensions = probe_identity(probe, mail, homepage)
folder = fresh_dir(work)
bin_dir, log_dir = make_fake_notepad(folder)
run_dir = fresh_dir(os.path.join(folder, "run"))


def xdotool(*arguments):
    # The pointer in the window gives it the focus: there is no window manager.
    subprocess.run(["xdotool", "mousemove", "150", "150"] + list(arguments), check=True)


run = Run(program, run_dir, path_prefix=bin_dir)
run.wait_for_console(b"Texture uploading speed\r\n" + RULE_LINE)
time.sleep(0.5)
xdotool("key", "a", "q", "Q", "x", "space", "Return", "BackSpace", "Tab", "1", "ctrl+c")
xdotool("click", "1", "click", "3")
run.wait_for_console(b"Speed:  ", count=1)
time.sleep(0.5)
xdotool("key", "F1", "Up", "Left", "Page_Down", "Delete", "shift+Tab", "z")
xdotool("type", "hello")
run.wait_for_console(b"Speed:  ", count=2)
time.sleep(0.5)
xdotool("key", "Escape")
xdotool("key", "Escape")
status = run.wait(timeout=60)

if status != 0:
    fail("exit %s; stderr %r" % (describe_status(status), run.stderr))
console = Cursor(run.console, "console")
read_header(console, identity)
read_blocks(console, 3)
console.at_end()
with open(os.path.join(run_dir, REPORT_NAME), "rb") as f:
    report = f.read()
file = Cursor(report, "report")
read_header(file, identity, extensions)
read_blocks(file, 3)
file.at_end()
if without_extension_block(report) != run.console:
    fail("the console differs from the report")
if run.seconds() < 9.0:
    fail("three measurements took only %.1f s" % run.seconds())
time.sleep(0.5)
if notepad_starts(log_dir):
    fail("the viewer was started after Escape")
print("exit status 0 after %.1f s with exactly three blocks" % run.seconds())
