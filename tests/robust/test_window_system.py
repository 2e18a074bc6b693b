"""The window taken away by the window system while the benchmark runs, each
case on an X server of its own: the process ends soon, by an exit and not
by a signal, and the report file holds every byte that the console showed,
as the start of a well-formed report. Also the window hidden and shown
again: no measurement is lost or repeated.
    test_window_system.py PROGRAM GL_PROBE WORK_DIR MAIL HOMEPAGE [CASE...]"""

import os
import signal
import subprocess
import sys
import time

from robust_e2e import (PrivateX, ask_window_to_close, check_report_holds_console, count_blocks,
                        describe_status, probe_identity, program_window, read_report_prefix)
from vexa_e2e import (REPORT_NAME, Cursor, Run, fail, fresh_dir, make_fake_notepad, notepad_starts,
                      press_key, read_blocks, read_header, without_extension_block)

program, probe, work = sys.argv[1:4]
mail, homepage = sys.argv[4:6]
fresh_dir(work)


def close_button(x, window):
    ask_window_to_close(window)


def xdotool(command):
    return lambda x, window: subprocess.run(["xdotool", command, window], check=True)


def server_gone(sig):
    return lambda x, window: x.stop(sig)


# case: what takes the window away, one block and a second into the run.
CASES = {
    "close_button": close_button,                   # WM_DELETE_WINDOW, as from a window manager
    "windowclose": xdotool("windowclose"),          # XDestroyWindow under the program
    "windowkill": xdotool("windowkill"),            # XKillClient: the server drops the connection
    "server_terminated": server_gone(signal.SIGTERM),
    "server_killed": server_gone(signal.SIGKILL),
}


def window_taken_away(case, take_away):
    folder = fresh_dir(os.path.join(work, case))
    bin_dir, log_dir = make_fake_notepad(folder)
    run_dir = fresh_dir(os.path.join(folder, "run"))
    with PrivateX() as x:
        identity, extensions = probe_identity(probe, mail, homepage)
        run = Run(program, run_dir, path_prefix=bin_dir)
        window = program_window(run, program)
        run.wait_for_console(b"Speed:  ", timeout=60)
        time.sleep(1.0)
        shown = count_blocks(run.console)
        taken = run.seconds()
        take_away(x, window)
        status = run.wait(timeout=30)
        ended = run.seconds() - taken
    if status < 0:
        fail("%s: %s; stderr %r" % (case, describe_status(status), run.stderr[-1000:]))
    with open(os.path.join(run_dir, REPORT_NAME), "rb") as f:
        report = f.read()
    blocks, tail = read_report_prefix(report, identity, extensions, case + " report")
    check_report_holds_console(report, run.console, case)
    if blocks < shown:
        fail("%s: %d blocks on disk, %d were shown before" % (case, blocks, shown))
    if notepad_starts(log_dir, wait_seconds=0.5):
        fail("%s: the viewer was started" % case)
    print("%s: %s %.1f s later, %d whole blocks on disk%s; stderr %r"
          % (case, describe_status(status), ended, blocks, ", then %r" % tail if tail else "",
             run.stderr.decode(errors="replace").strip()[:300]))


def hidden_and_shown():
    """The window unmapped for a few seconds during a run and mapped again,
    then Escape: whole blocks in order, file and console alike, status 0."""
    case = "hidden_and_shown"
    folder = fresh_dir(os.path.join(work, case))
    bin_dir, log_dir = make_fake_notepad(folder)
    run_dir = fresh_dir(os.path.join(folder, "run"))
    with PrivateX():
        identity, extensions = probe_identity(probe, mail, homepage)
        run = Run(program, run_dir, path_prefix=bin_dir)
        window = program_window(run, program)
        run.wait_for_console(b"Speed:  ", timeout=60)
        time.sleep(0.5)
        subprocess.run(["xdotool", "windowunmap", window], check=True)
        time.sleep(5.0)
        while_hidden = count_blocks(run.console)
        subprocess.run(["xdotool", "windowmap", window], check=True)
        run.wait_for_console(b"Speed:  ", count=while_hidden + 1, timeout=60)
        time.sleep(0.5)
        press_key("Escape")
        status = run.wait(timeout=60)
    if status != 0:
        fail("%s: %s; stderr %r" % (case, describe_status(status), run.stderr[-1000:]))
    blocks = count_blocks(run.console)
    with open(os.path.join(run_dir, REPORT_NAME), "rb") as f:
        report = f.read()
    cursor = Cursor(report, case + " report")
    read_header(cursor, identity, extensions)
    read_blocks(cursor, blocks)
    cursor.at_end()
    if without_extension_block(report) != run.console:
        fail("%s: the console differs from the report" % case)
    print("%s: %d blocks before the window was shown again, %d in all, exit status 0"
          % (case, while_hidden, blocks))


only = sys.argv[6:]
for name, action in CASES.items():
    if not only or name in only:
        window_taken_away(name, action)
if not only or "hidden_and_shown" in only:
    hidden_and_shown()
