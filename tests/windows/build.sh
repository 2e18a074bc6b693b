#!/usr/bin/env bash
# Builds what the Windows tests run under Wine, into OUT_DIR: the program,
# through tools/windows-build.sh as a user builds it; a fake notepad.exe; and
# gl_probe.exe (the end-to-end tests' GL probe), which prints the GL strings
# as a Windows program sees them under Wine.
#   tests/windows/build.sh OUT_DIR [CMAKE_ARGS...]
# CMAKE_ARGS go to the program's configure step.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
out=$1
shift
freeglut=$root/build-windows-deps/freeglut # where tools/windows-build.sh installs it

"$root/tools/windows-build.sh" "$out/program" "$@"
cp "$out/program/vexa-texture-speed.exe" "$out/"

x86_64-w64-mingw32-gcc-posix -O2 -Wall -Wextra -mwindows -static \
    -o "$out/notepad.exe" "$root/tests/windows/fake_notepad.c"
x86_64-w64-mingw32-g++-posix -std=c++17 -O2 -Wall -Wextra -static -DFREEGLUT_STATIC \
    -I"$root/src" -I"$freeglut/include" \
    -o "$out/gl_probe.exe" "$root/tests/e2e/gl_probe.cpp" \
    -L"$freeglut/lib" -lglut -lopengl32 -lgdi32 -lwinmm
