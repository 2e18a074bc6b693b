"""One complete run of the benchmark on the current X display, kept for the
checks that read it (check_full_run.py): the report, the console, the exit
status, the viewer's record and two screenshots of the window.
    full_run.py PROGRAM GL_PROBE OUT_DIR"""

import os
import subprocess
import sys
import time

from vexa_e2e import Run, Screenshot, fresh_dir, make_fake_notepad, notepad_starts, RULE_LINE

program, probe, out = sys.argv[1:4]
fresh_dir(out)
with open(os.path.join(out, "probe.txt"), "wb") as f:
    f.write(subprocess.run([probe], check=True, capture_output=True).stdout)

bin_dir, log_dir = make_fake_notepad(out)
run_dir = fresh_dir(os.path.join(out, "run"))
run = Run(program, run_dir, path_prefix=bin_dir)

# The splash is on screen for the whole first measurement, which starts
# right after the header; frame 1's picture is on screen for the whole
# second measurement, which starts right after frame 1's speed line.
run.wait_for_console(b"Texture uploading speed\r\n" + RULE_LINE, timeout=60)
time.sleep(1.0)
Screenshot.take(os.path.join(out, "splash.xwd")).save_window_png(os.path.join(out, "splash.png"))
run.wait_for_console(b"Speed:", timeout=60)
time.sleep(1.0)
Screenshot.take(os.path.join(out, "status.xwd")).save_window_png(os.path.join(out, "status.png"))

status = run.wait(timeout=600)
with open(os.path.join(out, "status.txt"), "w") as f:
    f.write("%d\n%.1f\n" % (status, run.seconds()))
with open(os.path.join(out, "console.bin"), "wb") as f:
    f.write(run.console)
with open(os.path.join(out, "stderr.txt"), "wb") as f:
    f.write(run.stderr)
notepad_starts(log_dir, wait_seconds=10)
print("exit status %d after %.1f s" % (status, run.seconds()))
