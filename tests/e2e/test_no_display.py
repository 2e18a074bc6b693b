"""Without a reachable X display the program says so through GLUT, ends
with a non-zero status, and creates no report file.
    test_no_display.py PROGRAM WORK_DIR"""

import os
import subprocess
import sys

from vexa_e2e import fail, fresh_dir

program, work = sys.argv[1:3]

for case, display in (("unset", None), ("no_such_display", ":4711")):
    run_dir = fresh_dir(os.path.join(work, case))
    env = dict(os.environ)
    env.pop("DISPLAY", None)
    if display:
        env["DISPLAY"] = display
    result = subprocess.run([program], cwd=run_dir, env=env, capture_output=True, timeout=60)
    if result.returncode == 0:
        fail("%s: exit status 0" % case)
    if b"failed to open display" not in result.stderr:
        fail("%s: stderr does not say why: %r" % (case, result.stderr))
    if os.listdir(run_dir):
        fail("%s: files were created: %r" % (case, os.listdir(run_dir)))
    if result.stdout:
        fail("%s: unexpected console output %r" % (case, result.stdout))
    print("%s: status %d, %s" % (case, result.returncode, result.stderr.decode().strip()))
