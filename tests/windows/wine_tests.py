"""End-to-end tests of the Windows build under Wine, on the current X display
(tools/with-xvfb.sh gives each a private one). The report is read with the
Linux end-to-end tests' readers: both builds are held to the same layout.
HELPERS is the folder that build.sh filled; WINEPREFIX names the prefix,
which is made on first use.

    wine_tests.py full-run HELPERS OUT_DIR
        one complete run, kept in OUT_DIR for the checks
    wine_tests.py check OUT_DIR MAIL HOMEPAGE CHECK
        CHECK is report_layout, console or exit_and_viewer
    wine_tests.py escape HELPERS WORK_DIR MAIL HOMEPAGE
        Escape during the first measurement"""

import os
import shutil
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
from vexa_e2e import (REPORT_NAME, RULE_LINE, Cursor, fail, fresh_dir,  # noqa: E402
                      identity_from_probe, press_key, read_blocks, read_complete_report,
                      read_header, without_extension_block)

PROGRAM = "vexa-texture-speed.exe"
NOTEPAD_STARTS = "notepad-starts.txt"  # written by fake_notepad.c, one line a start
NOTEPAD_SAW = "notepad-saw.txt"
VIEWER_COMMAND = b"notepad VexaTextureSpeed.txt"

WINE_ENV = dict(os.environ, WINEDEBUG="-all",
                # No crash dialog (it would wait for a click), no offer to
                # install Mono or Gecko when the prefix is made.
                WINEDLLOVERRIDES="winedbg.exe=d;mscoree=d;mshtml=d")


def under_timeout(seconds, command):
    return ["timeout", "-k", "10", str(seconds)] + command


def prepare_prefix(log_dir):
    if not WINE_ENV.get("WINEPREFIX"):
        fail("WINEPREFIX names no Wine prefix")
    if os.path.exists(os.path.join(WINE_ENV["WINEPREFIX"], "system.reg")):
        return
    with open(os.path.join(log_dir, "wineboot.log"), "wb") as log:
        subprocess.run(under_timeout(300, ["wineboot", "-i"]), env=WINE_ENV,
                       stdout=log, stderr=log, check=True)


def end_wine_session(wait_seconds):
    """Waits for every Wine process of the prefix (a started viewer too) to
    end, then stops whatever is left, before the X server goes away."""
    subprocess.run(under_timeout(wait_seconds, ["wineserver", "-w"]), env=WINE_ENV)
    subprocess.run(under_timeout(30, ["wineserver", "-k"]), env=WINE_ENV,
                   stderr=subprocess.DEVNULL)


def read_file(*path):
    with open(os.path.join(*path), "rb") as f:
        return f.read()


def run_folder(helpers, path):
    """A fresh folder holding the program with the fake viewer beside it."""
    fresh_dir(path)
    shutil.copy(os.path.join(helpers, PROGRAM), path)
    shutil.copy(os.path.join(helpers, "notepad.exe"), path)
    return path


def full_run(helpers, out):
    fresh_dir(out)
    run_dir = run_folder(helpers, os.path.join(out, "run"))
    prepare_prefix(out)
    probe = subprocess.run(under_timeout(120, ["wine", os.path.join(helpers, "gl_probe.exe")]),
                           env=WINE_ENV, capture_output=True, check=True).stdout
    with open(os.path.join(out, "probe.txt"), "wb") as f:
        f.write(probe)

    started = time.monotonic()
    with open(os.path.join(out, "console.bin"), "wb") as console, \
            open(os.path.join(out, "stderr.txt"), "wb") as stderr:
        status = subprocess.run(under_timeout(600, ["wine", PROGRAM]), cwd=run_dir, env=WINE_ENV,
                                stdout=console, stderr=stderr).returncode
    seconds = time.monotonic() - started
    end_wine_session(60)
    with open(os.path.join(out, "status.txt"), "w") as f:
        f.write("%d\n%.1f\n" % (status, seconds))
    print("exit status %d after %.1f s" % (status, seconds))


def check(out, mail, homepage, name):
    identity, extensions = identity_from_probe(read_file(out, "probe.txt"), mail, homepage)
    report = read_file(out, "run", REPORT_NAME)

    if name == "report_layout":
        # Header with the strings a Windows program gets from GL, the
        # extension block, 3 x 14 result blocks, nothing after; every line
        # end CR LF.
        if report.count(b"\n") != report.count(b"\r\n"):
            fail("the report has line ends other than CR LF")
        for block in read_complete_report(report, identity, extensions, "report"):
            where = "pass %d row %d" % (block["pass"] + 1, block["index"] + 1)
            if block["error"] is not None:
                fail("%s reports ERROR %s" % (where, block["error"].decode()))
            if not float(block["mtex"]) > 0:
                fail("%s: speed %s is not above zero" % (where, block["mtex"].decode()))
    elif name == "console":
        # The console copy: the report's bytes without the extension block.
        console = read_file(out, "console.bin")
        expected = without_extension_block(report)
        if console != expected and console.replace(b"\r\r\n", b"\r\n") == expected:
            fail("the console copy has CR CR LF line ends: stdout is in text mode")
        if console != expected:
            at = next((i for i, (a, b) in enumerate(zip(console, expected)) if a != b),
                      min(len(console), len(expected)))
            fail("console differs from the report at byte %d:\n console %r\n report  %r"
                 % (at, console[at:at + 80], expected[at:at + 80]))
    elif name == "exit_and_viewer":
        # Status 0 after 42 x 3 s; the viewer started once with the
        # program's command line, after the report was complete.
        status, seconds = read_file(out, "status.txt").split()
        if int(status) != 0:
            fail("exit status %s; stderr %r" % (status.decode(), read_file(out, "stderr.txt")))
        if float(seconds) < 126:
            fail("a complete run took only %s s" % seconds.decode())
        if not os.path.exists(os.path.join(out, "run", NOTEPAD_STARTS)):
            fail("the viewer was not started")
        starts = read_file(out, "run", NOTEPAD_STARTS).splitlines()
        if starts != [VIEWER_COMMAND]:
            fail("the viewer's starts were %r, not one with %r" % (starts, VIEWER_COMMAND))
        saw = read_file(out, "run", NOTEPAD_SAW)
        if saw != report:
            fail("the viewer saw %d bytes of the %d-byte report" % (len(saw), len(report)))
    else:
        fail("no check named %s" % name)
    print("%s: passed" % name)


def wait_for_console(path, text, process, timeout):
    deadline = time.monotonic() + timeout
    while text not in read_file(path):
        if process.poll() is not None:
            fail("the program ended (status %d) before %r appeared" % (process.returncode, text))
        if time.monotonic() > deadline:
            fail("%r did not appear within %d s" % (text, timeout))
        time.sleep(0.1)


def escape(helpers, work, mail, homepage):
    fresh_dir(work)
    run_dir = run_folder(helpers, os.path.join(work, "run"))
    prepare_prefix(work)
    probe = subprocess.run(under_timeout(120, ["wine", os.path.join(helpers, "gl_probe.exe")]),
                           env=WINE_ENV, capture_output=True, check=True).stdout
    identity, extensions = identity_from_probe(probe, mail, homepage)

    console_path = os.path.join(work, "console.bin")
    with open(console_path, "wb") as console, \
            open(os.path.join(work, "stderr.txt"), "wb") as stderr:
        started = time.monotonic()
        process = subprocess.Popen(under_timeout(120, ["wine", PROGRAM]), cwd=run_dir,
                                   env=WINE_ENV, stdout=console, stderr=stderr)
        try:
            # The first measurement starts right after the header.
            wait_for_console(console_path, b"Texture uploading speed\r\n" + RULE_LINE, process, 60)
            time.sleep(0.5)
            press_key("Escape")
            try:
                status = process.wait(60)
            except subprocess.TimeoutExpired:
                fail("the program did not end within 60 s of Escape")
        finally:
            if process.poll() is None:
                process.kill()
        seconds = time.monotonic() - started
    end_wine_session(30)

    if status != 0:
        fail("exit status %d; stderr %r" % (status, read_file(work, "stderr.txt")))
    if seconds < 3.0:
        fail("ended after %.1f s, before the first measurement was over" % seconds)
    report = read_file(run_dir, REPORT_NAME)
    cursor = Cursor(report, "report")
    read_header(cursor, identity, extensions)
    read_blocks(cursor, 1)
    cursor.at_end()
    if read_file(console_path) != without_extension_block(report):
        fail("the console differs from the report")
    if os.path.exists(os.path.join(run_dir, NOTEPAD_STARTS)):
        fail("the viewer was started after Escape")
    print("exit 0 after %.1f s, header and one result block" % seconds)


COMMANDS = {"full-run": full_run, "check": check, "escape": escape}
COMMANDS[sys.argv[1]](*sys.argv[2:])
