#!/usr/bin/env bash
# Rewrites the golden outputs from the fixtures with a built vexa-report.
# Read the difference before committing it: the goldens are what a person
# checked by eye.
#   make_goldens.sh PATH/TO/vexa-report
set -euo pipefail
tool=$(realpath "$1")
golden=$(cd "$(dirname "$0")" && pwd)
cd "$golden/../fixtures"
"$tool" show linux_llvmpipe.txt >"$golden/show_linux_llvmpipe.txt"
"$tool" show linux_errors.txt >"$golden/show_linux_errors.txt"
"$tool" show linux_sigterm.txt >"$golden/show_linux_sigterm.txt"
"$tool" show linux_escape.txt >"$golden/show_linux_escape.txt"
"$tool" compare linux_llvmpipe.txt linux_softpipe.txt windows_wine.txt \
    >"$golden/compare_llvmpipe_softpipe_wine.txt"
"$tool" compare linux_llvmpipe.txt linux_errors.txt linux_sigterm.txt \
    >"$golden/compare_errors_and_partial.txt"
