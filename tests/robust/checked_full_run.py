"""One complete run of the benchmark under a memory checker, on the current
X display, kept in OUT_DIR for the checks as ../e2e/full_run.py keeps it.
    checked_full_run.py asan OUT_DIR SANITIZED_PROGRAM GL_PROBE LSAN_SUPPRESSIONS
    checked_full_run.py valgrind OUT_DIR PROGRAM GL_PROBE VALGRIND_SUPPRESSIONS
The program is started through a small script next to OUT_DIR:
  asan      The AddressSanitizer + UndefinedBehaviorSanitizer build, leaks
            checked at exit. Mesa's DRI driver is preloaded: Mesa unloads it
            before the leak check runs, and the check could then not say
            whose allocations it finds. Preloaded, it stays mapped, and its
            own allocations are told apart by the suppression file.
  valgrind  Memcheck, all leak kinds counted as errors, its log kept in
            OUT_DIR/valgrind.log; the driver's debug data is kept when Mesa
            unloads it, for the same reason."""

import glob
import os
import shlex
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
from vexa_e2e import fail

tool, out, program, probe, suppressions = sys.argv[1:6]
full_run = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e", "full_run.py")


def dri_driver():
    """Mesa's software DRI driver, where Mesa loads it from."""
    folders = [p for p in os.environ.get("LIBGL_DRIVERS_PATH", "").split(":") if p]
    for line in subprocess.run(["ldd", program], capture_output=True, text=True).stdout.split("\n"):
        parts = line.split()
        if len(parts) >= 3 and parts[0].startswith("libGL"):
            folders.append(os.path.join(os.path.dirname(os.path.realpath(parts[2])), "dri"))
    folders += glob.glob("/usr/lib/*/dri") + ["/usr/lib64/dri", "/usr/lib/dri"]
    for folder in folders:
        path = os.path.join(folder, "swrast_dri.so")
        if os.path.exists(path):
            return path
    fail("Mesa's swrast_dri.so was not found in %s" % folders)


if tool == "asan":
    environment = {
        "LD_PRELOAD": dri_driver(),
        # The driver comes before the sanitizer runtime in the initial list
        # of libraries; it defines no function that the runtime intercepts.
        "ASAN_OPTIONS": "detect_leaks=1:verify_asan_link_order=0",
        "LSAN_OPTIONS": "suppressions=%s:print_suppressions=0" % suppressions,
        "UBSAN_OPTIONS": "print_stacktrace=1:halt_on_error=1",
    }
    command = [program]
elif tool == "valgrind":
    environment = {}
    command = ["valgrind", "--log-file=" + os.path.join(out, "valgrind.log"),
               "--child-silent-after-fork=yes", "--keep-debuginfo=yes", "--num-callers=40",
               "--leak-check=full", "--show-leak-kinds=definite,indirect,possible",
               "--errors-for-leak-kinds=definite,indirect,possible",
               "--suppressions=" + suppressions, "--error-exitcode=99", program]
else:
    fail("unknown tool %s" % tool)

start = out.rstrip("/") + ".start"
with open(start, "w") as f:
    f.write("#!/bin/sh\n")
    for name, value in environment.items():
        f.write("export %s=%s\n" % (name, shlex.quote(value)))
    f.write("exec %s\n" % " ".join(shlex.quote(word) for word in command))
os.chmod(start, 0o755)
sys.exit(subprocess.run([sys.executable, full_run, start, probe, out]).returncode)
