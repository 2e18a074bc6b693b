"""vexa-report as a user runs it: its help, its exit statuses and messages,
standard input, and its CSV, JSON and SVG read back with other programs'
parsers (Python's csv and json, xmllint, librsvg).
    cli_tests.py TOOL FIXTURES OUT_DIR CHECK
CHECK is help, usage, bad_input, stdin, csv, json or chart. The chart check
leaves chart.svg and chart.png in OUT_DIR to look at. CHECK full_run reads
the complete run that the end-to-end tests keep, with FIXTURES naming its
folder (run/VexaTextureSpeed.txt and console.bin)."""

import csv
import io
import json
import os
import re
import shutil
import subprocess
import sys
import xml.etree.ElementTree as ElementTree
import zlib

tool, fixtures, out, check = sys.argv[1:5]
tool = os.path.abspath(tool)
os.makedirs(out, exist_ok=True)

PATH_KEYS = ["upload", "back_copy", "front_copy"]
# A result block as the benchmark writes it; read here independently of the
# tool's own parser.
BLOCK = re.compile(rb"(?:ERROR (-?\d+)\r*\n)?Format: (\d\d) - Size: R=(\d+) G=(\d+) B=(\d+) "
                   rb"A=(\d+)\r*\nSpeed:  (\S+) Mtex/s  (\S+) MB/s")


def fail(message):
    print("FAIL: " + message)
    sys.exit(1)


def expect(condition, message):
    if not condition:
        fail(message)


def run(*arguments, stdin=None):
    return subprocess.run([tool] + list(arguments), cwd=fixtures, input=stdin,
                          capture_output=True, timeout=60)


def fixture(name):
    with open(os.path.join(fixtures, name), "rb") as f:
        return f.read()


def blocks(name):
    """{(path, format): (sizes, mtex text, mb text, error or None)} of a report."""
    found = {}
    for index, match in enumerate(BLOCK.finditer(fixture(name))):
        error, number, r, g, b, a, mtex, mb = match.groups()
        expect(int(number) == index % 14 + 1, "%s: blocks out of order" % name)
        found[(PATH_KEYS[index // 14], int(number))] = (
            (int(r), int(g), int(b), int(a)), mtex.decode(), mb.decode(),
            int(error) if error else None)
    return found


def renderer(name):
    return re.search(rb"Renderer: (.*?)\r*\n", fixture(name)).group(1).decode()


def check_help():
    result = run("--help")
    expect(result.returncode == 0, "--help: status %d" % result.returncode)
    text = result.stdout.decode()
    for word in ["Usage: vexa-report", "show", "compare", "chart", "csv", "json", "Exit status"]:
        expect(word in text, "--help does not mention %r:\n%s" % (word, text))
    usages = {
        "show": "Usage: vexa-report show [OPTIONS] REPORT",
        "compare": "Usage: vexa-report compare [OPTIONS] REPORTS...",
        "chart": "Usage: vexa-report chart [OPTIONS] REPORTS...",
        "csv": "Usage: vexa-report csv [OPTIONS] REPORTS...",
        "json": "Usage: vexa-report json [OPTIONS] REPORTS...",
    }
    for command, usage in usages.items():
        result = run(command, "--help")
        expect(result.returncode == 0, "%s --help: status %d" % (command, result.returncode))
        expect(usage in result.stdout.decode(), "%s --help:\n%s" % (command, result.stdout.decode()))
    expect("-o,--output" in run("chart", "--help").stdout.decode(), "chart --help names no -o")
    result = run("--version")
    expect(result.returncode == 0 and result.stdout == b"vexa-report 1.0\n",
           "--version: %d %r" % (result.returncode, result.stdout))


def check_usage():
    cases = [
        ([], "A subcommand is required"),
        (["show"], "REPORT is required"),
        (["show", "linux_llvmpipe.txt", "linux_softpipe.txt"], "not expected: linux_softpipe.txt"),
        (["compare", "linux_llvmpipe.txt"], "At least 2 required"),
        (["chart", "linux_llvmpipe.txt"], "--output is required"),
        (["csv"], "REPORTS is required"),
        (["show", "--frobnicate", "linux_llvmpipe.txt"], "--frobnicate"),
    ]
    for arguments, message in cases:
        result = run(*arguments)
        expect(result.returncode == 2, "%s: status %d, not 2" % (arguments, result.returncode))
        expect(message in result.stderr.decode(), "%s: stderr %r" % (arguments, result.stderr))
        expect(result.stdout == b"", "%s: wrote %r" % (arguments, result.stdout))


def check_bad_input():
    not_a_report = os.path.join(out, "notes.txt")
    with open(not_a_report, "wb") as f:
        f.write(b"# Notes\r\nrerun on Monday\r\n")
    title = ("1: not a report of the texture speed benchmark: expected its title "
             "\"Vexa's texture/framebuffer speed test\", found \"# Notes\"\n")
    cases = [
        (["show", "missing.txt"],
         "vexa-report: missing.txt: cannot open: No such file or directory\n"),
        (["compare", "linux_llvmpipe.txt", not_a_report],
         "vexa-report: " + not_a_report + ":" + title),
        # Every file that fails is named, not only the first.
        (["csv", "missing.txt", "linux_llvmpipe.txt", not_a_report],
         "vexa-report: missing.txt: cannot open: No such file or directory\n"
         "vexa-report: " + not_a_report + ":" + title),
        (["chart", "linux_llvmpipe.txt", "-o", os.path.join(out, "no-such-dir", "c.svg")],
         "vexa-report: " + os.path.join(out, "no-such-dir", "c.svg") +
         ": cannot write: No such file or directory\n"),
    ]
    for arguments, message in cases:
        result = run(*arguments)
        expect(result.returncode == 1, "%s: status %d, not 1" % (arguments, result.returncode))
        expect(result.stderr.decode() == message, "%s: stderr %r" % (arguments, result.stderr))
        expect(result.stdout == b"", "%s: wrote %r" % (arguments, result.stdout))


def check_stdin():
    result = run("show", "-", stdin=fixture("windows_wine_console.txt"))
    expect(result.returncode == 0, "show -: status %d %r" % (result.returncode, result.stderr))
    from_file = run("show", "windows_wine_console.txt")
    expect(result.stdout == from_file.stdout.replace(b"windows_wine_console.txt",
                                                     b"(standard input)"),
           "show - differs from show FILE:\n" + result.stdout.decode())


def check_csv():
    names = ["linux_llvmpipe.txt", "linux_errors.txt", "windows_wine_console.txt",
             "linux_sigterm.txt"]
    result = run("csv", *names)
    expect(result.returncode == 0, "csv: status %d %r" % (result.returncode, result.stderr))
    rows = list(csv.DictReader(io.StringIO(result.stdout.decode("utf-8"), newline="")))
    expect(len(rows) == 42 * 3 + 17, "csv: %d rows" % len(rows))
    for name in names:
        expected = blocks(name)
        mine = [row for row in rows if row["report"] == name]
        expect(len(mine) == len(expected), "%s: %d rows, %d blocks" % (name, len(mine), len(expected)))
        for row in mine:
            sizes, mtex, mb, error = expected[(row["path"], int(row["format"]))]
            got = ((int(row["red"]), int(row["green"]), int(row["blue"]), int(row["alpha"])),
                   row["mtex_per_s"], row["mb_per_s"], int(row["gl_error"]) if row["gl_error"] else None)
            expect(got == (sizes, mtex, mb, error), "%s %s: %s, report says %s" % (
                name, (row["path"], row["format"]), got, (sizes, mtex, mb, error)))
            expect(row["renderer"] == renderer(name), "%s: renderer %r" % (name, row["renderer"]))
            expect(row["complete"] == ("false" if name == "linux_sigterm.txt" else "true"),
                   "%s: complete %r" % (name, row["complete"]))


def check_json():
    names = ["linux_errors.txt", "windows_wine.txt", "linux_escape.txt"]
    result = run("json", *names)
    expect(result.returncode == 0, "json: status %d %r" % (result.returncode, result.stderr))
    reports = json.loads(result.stdout)["reports"]
    expect([r["source"] for r in reports] == names, "json: sources %r" % [r["source"] for r in reports])
    for name, report in zip(names, reports):
        expected = blocks(name)
        expect(report["renderer"] == renderer(name), "%s: renderer" % name)
        expect(report["measurement_count"] == len(expected) == len(report["measurements"]),
               "%s: %d measurements" % (name, len(report["measurements"])))
        for m in report["measurements"]:
            sizes, mtex, mb, error = expected[(m["path"], m["format"])]
            got = ((m["red"], m["green"], m["blue"], m["alpha"]), m["mtex_per_s"], m["mb_per_s"],
                   m["gl_error"])
            expect(got == (sizes, float(mtex), float(mb), error),
                   "%s %s: %s" % (name, (m["path"], m["format"]), got))


def rgb(hex_colour):
    return tuple(int(hex_colour[i:i + 2], 16) for i in (1, 3, 5))


def read_png(path):
    """(width, height, rows of RGB tuples) of an 8-bit RGB or RGBA PNG that
    is not interlaced, as rsvg-convert writes it."""
    with open(path, "rb") as f:
        data = f.read()
    expect(data[:8] == b"\x89PNG\r\n\x1a\n", "%s is not a PNG" % path)
    at, idat = 8, b""
    while at < len(data):
        length = int.from_bytes(data[at:at + 4], "big")
        kind, body = data[at + 4:at + 8], data[at + 8:at + 8 + length]
        if kind == b"IHDR":
            width, height = int.from_bytes(body[0:4], "big"), int.from_bytes(body[4:8], "big")
            depth, colour_type, interlace = body[8], body[9], body[12]
            expect(depth == 8 and colour_type in (2, 6) and interlace == 0,
                   "%s: PNG kind %d/%d/%d" % (path, depth, colour_type, interlace))
        elif kind == b"IDAT":
            idat += body
        at += 12 + length
    channels = 4 if colour_type == 6 else 3
    stride = width * channels
    raw = zlib.decompress(idat)
    rows, previous = [], bytearray(stride)
    for y in range(height):
        kind = raw[y * (stride + 1)]
        line = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            left = line[i - channels] if i >= channels else 0
            up = previous[i]
            up_left = previous[i - channels] if i >= channels else 0
            if kind == 1:
                line[i] = (line[i] + left) & 0xFF
            elif kind == 2:
                line[i] = (line[i] + up) & 0xFF
            elif kind == 3:
                line[i] = (line[i] + (left + up) // 2) & 0xFF
            elif kind == 4:
                p = left + up - up_left
                pa, pb, pc = abs(p - left), abs(p - up), abs(p - up_left)
                nearest = left if pa <= pb and pa <= pc else up if pb <= pc else up_left
                line[i] = (line[i] + nearest) & 0xFF
        rows.append([tuple(line[x * channels:x * channels + 3]) for x in range(width)])
        previous = line
    return width, height, rows


def check_chart():
    names = ["linux_llvmpipe.txt", "linux_softpipe.txt"]
    svg = os.path.join(out, "chart.svg")
    png = os.path.join(out, "chart.png")
    result = run("chart", *names, "-o", svg)
    expect(result.returncode == 0, "chart: status %d %r" % (result.returncode, result.stderr))
    with open(svg, "rb") as f:
        expect(run("chart", *names, "-o", "-").stdout == f.read(), "chart -o - differs from the file")
    lint = subprocess.run(["xmllint", "--noout", svg], capture_output=True)
    expect(lint.returncode == 0, "xmllint: %r" % lint.stderr)
    subprocess.run(["rsvg-convert", "-o", png, svg], check=True)

    ns = {"svg": "http://www.w3.org/2000/svg"}
    root = ElementTree.parse(svg).getroot()
    texts = ["".join(t.itertext()) for t in root.iter("{%s}text" % ns["svg"])]
    for name in names:
        expect(renderer(name) in texts, "the legend does not name %r" % renderer(name))
    expect("Mtex/s" in texts, "no axis says Mtex/s")
    bars = {r.get("id"): r for r in root.iter("{%s}rect" % ns["svg"]) if r.get("id", "").startswith("bar-")}
    expect(len(bars) == 84, "%d bars" % len(bars))

    width, height, pixels = read_png(png)
    expect((width, height) == (int(float(root.get("width"))), int(float(root.get("height")))),
           "PNG size %dx%d" % (width, height))
    # Within each panel bar heights follow the figures, and the middle of
    # every bar is painted in its report's colour.
    for path in PATH_KEYS:
        scale = None
        for report_index, name in enumerate(names, start=1):
            for (block_path, number), (_, mtex, _, _) in blocks(name).items():
                if block_path != path:
                    continue
                bar = bars["bar-r%d-%s-f%d" % (report_index, path, number)]
                x, y = float(bar.get("x")), float(bar.get("y"))
                bar_width, bar_height = float(bar.get("width")), float(bar.get("height"))
                per_mtex = bar_height / float(mtex)
                scale = scale or per_mtex
                expect(abs(per_mtex - scale) <= 0.01 * scale + 0.01,
                       "%s: bar %s is %.2f px high for %s Mtex/s" % (path, bar.get("id"), bar_height, mtex))
                if bar_height < 4:
                    continue
                pixel = pixels[int(y + bar_height / 2)][int(x + bar_width / 2)]
                colour = rgb(bar.get("fill"))
                expect(all(abs(p - c) <= 3 for p, c in zip(pixel, colour)),
                       "%s: pixel %s of bar %s, not its colour %s" % (path, pixel, bar.get("id"), colour))
    expect(rgb(bars["bar-r1-upload-f1"].get("fill")) != rgb(bars["bar-r2-upload-f1"].get("fill")),
           "both reports drawn in one colour")


def check_full_run():
    report, console = os.path.join("run", "VexaTextureSpeed.txt"), "console.bin"
    for name, extensions in [(report, "listed"), (console, "not in this copy")]:
        result = run("show", name)
        expect(result.returncode == 0, "show %s: status %d %r" % (name, result.returncode, result.stderr))
        text = result.stdout.decode()
        expect("\nResults:     42 of 42 measurements\n" in text, "show %s:\n%s" % (name, text))
        expect(re.search(r"\nExtensions:  .*%s" % extensions, text), "show %s:\n%s" % (name, text))
        expect(len(re.findall(r"\d \*", text)) >= 3, "show %s marks no fastest:\n%s" % (name, text))
    # The file and its console copy hold the same figures.
    result = run("compare", report, console)
    expect(result.returncode == 0, "compare: status %d %r" % (result.returncode, result.stderr))
    text = result.stdout.decode()
    ratios = re.findall(r"^\s*\d+  .*  (\S+)$", text, re.MULTILINE)
    means = re.findall(r"^    geometric mean\s+(\S+)$", text, re.MULTILINE)
    expect(len(ratios) == 42 and set(ratios) == {"1.00"}, "compare:\n" + text)
    expect(means == ["1.00"] * 3, "compare:\n" + text)


{"full_run": check_full_run, "help": check_help, "usage": check_usage, "bad_input": check_bad_input, "stdin": check_stdin,
 "csv": check_csv, "json": check_json, "chart": check_chart}[check]()
print("ok: " + check)
