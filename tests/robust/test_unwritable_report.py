"""A complete run, on the current X display, where the report cannot be
written: the console copy is the complete report (without the extension
block), the program ends with status 0 and starts the viewer once, on the
report's name, in its directory; nothing else appears there.
    test_unwritable_report.py PROGRAM GL_PROBE WORK_DIR MAIL HOMEPAGE CASE
Cases:
    dev_full       "VexaTextureSpeed.txt" is a link to /dev/full: it opens,
                   and every write to it fails (no space left on device).
    read_only_dir  the run's directory is read-only, so the report cannot
                   be created. As root, permissions do not stop writes: the
                   directory is mounted read-only in a mount namespace of
                   the run's own, or failing that the run is made as user
                   nobody in a directory without write permission. Where
                   neither is possible the test is skipped (status 77)."""

import os
import shlex
import subprocess
import sys

from robust_e2e import describe_status, make_recording_viewer, probe_identity
from vexa_e2e import (REPORT_NAME, Cursor, Run, fail, fresh_dir, notepad_starts, read_blocks,
                      read_header)

SKIP = 77
NOBODY = "65534"

program, probe, work, mail, homepage, case = sys.argv[1:7]
identity, extensions = probe_identity(probe, mail, homepage)
folder = fresh_dir(os.path.join(work, case))
bin_dir, log_dir = make_recording_viewer(folder)
run_dir = fresh_dir(os.path.join(folder, "run"))


def works(command):
    return subprocess.run(command, stdout=subprocess.DEVNULL,
                          stderr=subprocess.DEVNULL).returncode == 0


def read_only_start():
    """Makes run_dir read-only for the program; returns (program to start,
    how). A read-only mount is made in a mount namespace of the program's
    own: nothing outside it sees the mount, and it goes with the process."""
    if os.geteuid() != 0:
        os.chmod(run_dir, 0o555)
        return program, "a directory without write permission"
    remount = ('mount --bind "$1" "$1" && mount -o remount,bind,ro "$1" && cd "$1" && '
               'if [ -n "$2" ]; then exec "$2"; else ! touch "$1/probe" 2>/dev/null; fi')
    scratch = fresh_dir(os.path.join(folder, "scratch"))
    for unshare, how in ((["unshare", "--mount"], "a read-only bind mount"),
                         (["unshare", "--user", "--map-root-user", "--mount"],
                          "a read-only bind mount in a user namespace")):
        if works(unshare + ["sh", "-c", remount, "sh", scratch, ""]):
            return write_wrapper(unshare + ["sh", "-c", remount, "sh", run_dir, program]), how
    # As user nobody, in a directory that only root may write to.
    as_nobody = ["setpriv", "--reuid=" + NOBODY, "--regid=" + NOBODY, "--clear-groups"]
    os.chmod(run_dir, 0o555)
    os.chmod(log_dir, 0o777)
    check = 'test -x "$1" && test -w "$2" && ! touch "$3/probe" 2>/dev/null'
    if works(as_nobody + ["sh", "-c", check, "sh", program, log_dir, run_dir]):
        return (write_wrapper(as_nobody + [program]),
                "user nobody in a directory without write permission")
    print("skipped: no way to make a read-only directory here (no mount namespace, and user "
          "nobody cannot reach the program or the test's folders)")
    sys.exit(SKIP)


def write_wrapper(command):
    path = os.path.join(folder, "start")
    with open(path, "w") as f:
        f.write("#!/bin/sh\nexec %s\n" % " ".join(shlex.quote(word) for word in command))
    os.chmod(path, 0o755)
    return path


if case == "dev_full":
    os.symlink("/dev/full", os.path.join(run_dir, REPORT_NAME))
    start, how = program, "a link to /dev/full"
elif case == "read_only_dir":
    start, how = read_only_start()
else:
    fail("unknown case %s" % case)

run = Run(start, run_dir, path_prefix=bin_dir)
status = run.wait(timeout=600)
seconds = run.seconds()
if status != 0:
    fail("%s: %s; stderr %r" % (case, describe_status(status), run.stderr[-2000:]))
if seconds < 126:
    fail("%s: a complete run took only %.1f s" % (case, seconds))
console = Cursor(run.console, case + " console")
read_header(console, identity)
read_blocks(console, 3 * 14)
console.at_end()
if run.stderr:
    fail("%s: unexpected output on stderr: %r" % (case, run.stderr[:500]))

starts = notepad_starts(log_dir, wait_seconds=10)
if len(starts) != 1:
    fail("%s: the viewer was started %d times" % (case, len(starts)))
cwd, args, _ = starts[0]
if os.path.realpath(cwd) != os.path.realpath(run_dir) or args != [REPORT_NAME]:
    fail("%s: the viewer was started in %s with %r" % (case, cwd, args))

left = os.listdir(run_dir)
if case == "dev_full":
    if left != [REPORT_NAME] or os.readlink(os.path.join(run_dir, REPORT_NAME)) != "/dev/full":
        fail("%s: the run's directory holds %r" % (case, left))
elif left:
    fail("%s: files appeared in the read-only directory: %r" % (case, left))
print("%s (%s): exit status 0 after %.1f s, the complete report on the console, one viewer start"
      % (case, how, seconds))
