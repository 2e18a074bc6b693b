#!/usr/bin/env bash
# Installs what the suite needs, builds, and runs the whole CTest suite: the
# unit tests against a fake GL, the end-to-end tests against Mesa, each on a
# private Xvfb that the suite starts and stops itself, and vexa-report's
# tests (its libraries and the XML and SVG tools that check its chart are
# among the packages below). Arguments go to ctest (for example:
# ./test.sh -L unit).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)

"$here/tools/setup.sh" cmake g++ make freeglut3-dev libgl1-mesa-dri googletest libgtest-dev \
    xvfb xauth x11-utils x11-apps xdotool python3 valgrind \
    libcli11-dev nlohmann-json3-dev libxml2-utils librsvg2-bin
# The Windows build's cross compiler, and Wine to run it.
"$here/tools/windows-build.sh" --install

cmake -S "$here" -B "$here/build" -DCMAKE_BUILD_TYPE=Release -DVEXA_BUILD_TESTS=ON \
    -DVEXA_BUILD_REPORT_TOOL=ON -DVEXA_WINDOWS_TESTS=ON >/dev/null
cmake --build "$here/build" -j "$(nproc)"
cd "$here/build"
ctest --output-on-failure -j 2 "$@"
