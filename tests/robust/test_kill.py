"""The benchmark killed by a signal during a run, on the current X display:
it ends at once, and the report file on disk holds every byte that the
console showed (the file is written first, so it may hold the one piece
more that was in writing), as the start of a well-formed report. The viewer
is not started.
    test_kill.py PROGRAM GL_PROBE WORK_DIR MAIL HOMEPAGE CASE"""

import os
import signal
import sys
import time

from robust_e2e import (check_report_holds_console, count_blocks, describe_status,
                        probe_identity, read_report_prefix)
from vexa_e2e import REPORT_NAME, Run, fail, fresh_dir, make_fake_notepad, notepad_starts

# case: (signal, whole blocks on the console before it is sent, seconds
# after that). A block takes 3 s and more; pass 1 is blocks 1-14, pass 2
# 15-28, pass 3 29-42. The delays put the signal right after a block, in the
# middle of a measurement and at the end of one.
CASES = {
    "sigint_first_pass": (signal.SIGINT, 2, 1.5),
    "sighup_first_pass": (signal.SIGHUP, 1, 0.0),
    "sigterm_middle_pass": (signal.SIGTERM, 17, 0.0),
    "sigkill_last_pass": (signal.SIGKILL, 31, 2.9),
}

program, probe, work, mail, homepage, case = sys.argv[1:7]
sig, after_blocks, delay = CASES[case]
identity, extensions = probe_identity(probe, mail, homepage)

folder = fresh_dir(os.path.join(work, case))
bin_dir, log_dir = make_fake_notepad(folder)
run_dir = fresh_dir(os.path.join(folder, "run"))
run = Run(program, run_dir, path_prefix=bin_dir)
run.wait_for_console(b"Speed:  ", count=after_blocks, timeout=after_blocks * 10 + 60)
time.sleep(delay)
run.process.send_signal(sig)
sent = run.seconds()
status = run.wait(timeout=20)

if status == 0 or (status < 0 and status != -sig):
    fail("%s: %s after %s (stderr %r)" % (case, describe_status(status), sig.name, run.stderr))
with open(os.path.join(run_dir, REPORT_NAME), "rb") as f:
    report = f.read()
blocks, tail = read_report_prefix(report, identity, extensions, case + " report")
check_report_holds_console(report, run.console, case)
if blocks < after_blocks or blocks >= 3 * 14:
    fail("%s: %d whole blocks, but %s was sent after block %d"
         % (case, blocks, sig.name, after_blocks))
if count_blocks(run.console) < after_blocks:
    fail("%s: the console lost blocks" % case)
time.sleep(0.5)
if notepad_starts(log_dir):
    fail("%s: the viewer was started" % case)
print("%s: %s sent at %.1f s, %s; %d whole blocks on disk%s; console %d bytes, report %d"
      % (case, sig.name, sent, describe_status(status), blocks,
         ", then %r" % tail if tail else "", len(run.console), len(report)))
