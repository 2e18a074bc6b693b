"""Checks on a complete run kept by ../e2e/full_run.py or checked_full_run.py,
beside those of ../e2e/check_full_run.py, which hold on any implementation.
    check_run.py OUT_DIR MAIL HOMEPAGE CHECK [ARGUMENT]
Checks:
    renderer WORD      the implementation that ran is the one asked for: its
                       renderer string holds WORD
    any_gl_layout      a well-formed complete report that accepts what the
                       implementation really did: GL errors and component
                       sizes as reported; every rate above zero unless an
                       error line stands in its block
    no_sanitizer_report  nothing on stderr: a sanitizer finding would be there
    valgrind_log       memcheck ran the program to its end and found no error
                       and no leak that the suppression file does not name"""

import os
import re
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
from vexa_e2e import REPORT_NAME, fail, identity_from_probe, read_complete_report

out, mail, homepage, check = sys.argv[1:5]
argument = sys.argv[5] if len(sys.argv) > 5 else None


def read(name):
    with open(os.path.join(out, name), "rb") as f:
        return f.read()


def identity_and_extensions():
    return identity_from_probe(read("probe.txt"), mail, homepage)


def check_renderer():
    renderer = identity_and_extensions()[0][4]
    if argument.encode() not in renderer:
        fail("the renderer is %r, not %s" % (renderer, argument))
    print("renderer %s" % renderer.decode())


def check_any_gl_layout():
    identity, extensions = identity_and_extensions()
    blocks = read_complete_report(read(os.path.join("run", REPORT_NAME)), identity, extensions,
                                  "report")
    errors = []
    for block in blocks:
        where = "pass %d row %d" % (block["pass"] + 1, block["index"] + 1)
        if block["error"] is not None:
            errors.append("%s: ERROR %s" % (where, block["error"].decode()))
        elif not float(block["mtex"]) > 0:
            fail("%s: speed %s with no GL error" % (where, block["mtex"].decode()))
    sizes = sorted(set(block["sizes"] for block in blocks))
    print("42 blocks; %s; component sizes R G B A: %s"
          % (", ".join(errors) if errors else "no GL error", sizes))


def check_no_sanitizer_report():
    stderr = read("stderr.txt")
    if stderr:
        fail("stderr holds:\n%s" % stderr.decode(errors="replace"))


def check_valgrind_log():
    log = read("valgrind.log").decode(errors="replace")
    if "HEAP SUMMARY" not in log:
        fail("memcheck did not see the program end:\n%s" % log[-3000:])
    summary = re.search(r"ERROR SUMMARY: ([0-9]+) errors", log)
    if not summary or summary.group(1) != "0":
        fail("memcheck found errors:\n%s" % log)
    for kind in ("definitely lost", "indirectly lost", "possibly lost"):
        lost = re.search(kind + r": ([0-9,]+) bytes", log)
        if lost and lost.group(1) != "0":
            fail("memcheck: %s %s bytes:\n%s" % (kind, lost.group(1), log))
    suppressed = re.findall(r"suppressed: ([0-9,]+ bytes in [0-9,]+ blocks)", log)
    print("no error, no leak; suppressed: %s" % (suppressed or ["nothing"])[0])


globals()["check_" + check]()
print("%s: passed" % check)
