#!/usr/bin/env bash
# Builds the benchmark (Release) and runs it in the current directory. Where
# no X display can be reached, it runs on a private Xvfb, on Mesa's software
# renderer. The benchmark's exit status is passed on.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)

display_usable() {
    [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1
}
"$here/tools/setup.sh" cmake g++ make freeglut3-dev libgl1-mesa-dri x11-utils
display_usable || "$here/tools/setup.sh" xvfb xauth

cmake -S "$here" -B "$here/build" -DCMAKE_BUILD_TYPE=Release -DVEXA_BUILD_TESTS=OFF \
    -DVEXA_BUILD_REPORT_TOOL=OFF >/dev/null
cmake --build "$here/build" --target vexa-texture-speed -j "$(nproc)" >/dev/null

if display_usable; then
    exec "$here/build/vexa-texture-speed"
fi
echo "No X display reachable: running on a private Xvfb (Mesa's software renderer)."
exec "$here/tools/with-xvfb.sh" "$here/build/vexa-texture-speed"
