"""Escape during the first measurement, on the current X display: the frame
is finished, the report holds the header and exactly the first result
block, the program exits with status 0 and the viewer is not started. The
same where the report cannot be written: everything is on the console.
    test_escape.py PROGRAM GL_PROBE WORK_DIR MAIL HOMEPAGE"""

import os
import subprocess
import sys
import time

from vexa_e2e import (REPORT_NAME, RULE_LINE, Cursor, Run, fail, fresh_dir, make_fake_notepad,
                      identity_from_probe, notepad_starts, press_key, read_blocks, read_header,
                      without_extension_block)

program, probe, work, mail, homepage = sys.argv[1:6]
fresh_dir(work)
identity, extensions = identity_from_probe(
    subprocess.run([probe], check=True, capture_output=True).stdout, mail, homepage)


def escape_during_first_measurement(case, report_writable):
    folder = fresh_dir(os.path.join(work, case))
    bin_dir, log_dir = make_fake_notepad(folder)
    run_dir = fresh_dir(os.path.join(folder, "run"))
    if not report_writable:
        os.mkdir(os.path.join(run_dir, REPORT_NAME))  # in the way of the report file

    run = Run(program, run_dir, path_prefix=bin_dir)
    run.wait_for_console(b"Texture uploading speed\r\n" + RULE_LINE)
    time.sleep(0.5)
    press_key("Escape")
    status = run.wait(timeout=60)

    if status != 0:
        fail("%s: exit status %d; stderr %r" % (case, status, run.stderr))
    if run.seconds() < 3.0:
        fail("%s: ended after %.1f s, before the first measurement was over" % (case, run.seconds()))
    console = Cursor(run.console, case + " console")
    read_header(console, identity)
    read_blocks(console, 1)
    console.at_end()
    if report_writable:
        with open(os.path.join(run_dir, REPORT_NAME), "rb") as f:
            report = f.read()
        file = Cursor(report, case + " report")
        read_header(file, identity, extensions)
        read_blocks(file, 1)
        file.at_end()
        if without_extension_block(report) != run.console:
            fail("%s: the console differs from the report" % case)
    elif os.listdir(run_dir) != [REPORT_NAME] or not os.path.isdir(os.path.join(run_dir, REPORT_NAME)):
        fail("%s: unexpected files %r" % (case, os.listdir(run_dir)))
    time.sleep(0.5)
    if notepad_starts(log_dir):
        fail("%s: the viewer was started after Escape" % case)
    print("%s: exit 0 after %.1f s, header and one result block" % (case, run.seconds()))


escape_during_first_measurement("writable", True)
escape_during_first_measurement("report_blocked", False)
