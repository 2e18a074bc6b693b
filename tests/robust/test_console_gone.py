"""A console that cannot be written, on the current X display: its writes
fail and are ignored, and the run and its report go on. Cases: a pipe
whose reader ends after the header, and a standard output (or all three
standard streams) closed before the start. After the third result block is
on disk, Escape ends the run: status 0, and the report is the header and
whole blocks in order.
    test_console_gone.py PROGRAM GL_PROBE WORK_DIR MAIL HOMEPAGE [CASE...]"""

import os
import subprocess
import sys
import time

from robust_e2e import count_blocks, describe_status, probe_identity
from vexa_e2e import (REPORT_NAME, Cursor, fail, fresh_dir, make_fake_notepad, notepad_starts,
                      press_key, read_blocks, read_header)

program, probe, work, mail, homepage = sys.argv[1:6]
identity, extensions = probe_identity(probe, mail, homepage)
fresh_dir(work)

# case: the shell redirections that the program starts with; None: its
# standard output is a pipe that this test reads and then closes.
CASES = {
    "reader_gone": None,
    "stdout_closed": ">&-",
    "all_closed": "<&- >&- 2>&-",
}


def read_report(run_dir):
    try:
        with open(os.path.join(run_dir, REPORT_NAME), "rb") as f:
            return f.read()
    except FileNotFoundError:
        return b""


def console_gone(case, redirections):
    folder = fresh_dir(os.path.join(work, case))
    bin_dir, log_dir = make_fake_notepad(folder)
    run_dir = fresh_dir(os.path.join(folder, "run"))
    env = dict(os.environ, PATH=bin_dir + os.pathsep + os.environ["PATH"])
    if redirections is None:
        process = subprocess.Popen([program], cwd=run_dir, env=env, stdout=subprocess.PIPE)
        shown = b""
        while b"Texture uploading speed" not in shown:
            chunk = process.stdout.read1(4096)
            if not chunk:
                fail("%s: the console ended after %r" % (case, shown))
            shown += chunk
        process.stdout.close()
    else:
        process = subprocess.Popen(["sh", "-c", 'exec "$0" ' + redirections, program],
                                   cwd=run_dir, env=env)
    started = time.monotonic()
    deadline = started + 60
    while count_blocks(read_report(run_dir)) < 3:
        if process.poll() is not None:
            fail("%s: the program ended with %s; report %r"
                 % (case, describe_status(process.returncode), read_report(run_dir)[-300:]))
        if time.monotonic() > deadline:
            process.kill()
            process.wait()
            fail("%s: no third block in the report after 60 s; report %r"
                 % (case, read_report(run_dir)[-300:]))
        time.sleep(0.2)
    press_key("Escape")
    try:
        status = process.wait(timeout=30)
    except subprocess.TimeoutExpired:
        process.kill()
        process.wait()
        fail("%s: the program did not end after Escape" % case)
    if status != 0:
        fail("%s: %s" % (case, describe_status(status)))
    report = read_report(run_dir)
    blocks = count_blocks(report)
    cursor = Cursor(report, case + " report")
    read_header(cursor, identity, extensions)
    read_blocks(cursor, blocks)
    cursor.at_end()
    if notepad_starts(log_dir, wait_seconds=0.5):
        fail("%s: the viewer was started after Escape" % case)
    print("%s: exit status 0 after %.1f s, %d whole blocks in the report"
          % (case, time.monotonic() - started, blocks))


only = sys.argv[6:]
for name, redirections in CASES.items():
    if not only or name in only:
        console_gone(name, redirections)
