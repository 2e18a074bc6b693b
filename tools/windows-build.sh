#!/usr/bin/env bash
# Cross-builds the Windows program with mingw-w64: a self-contained
# vexa-texture-speed.exe (static C++ runtime, static freeglut) that needs no
# DLL beside it.
#
#   tools/windows-build.sh [BUILD_DIR [CMAKE_ARGS...]]
#       Installs the build tools that are missing, builds freeglut for
#       Windows once (kept in build-windows-deps/), then configures and builds
#       BUILD_DIR/vexa-texture-speed.exe (BUILD_DIR defaults to
#       build-windows/). CMAKE_ARGS go to the program's configure step, for
#       example -DVEXA_CONTACT_MAIL=...
#   tools/windows-build.sh --install
#       Installs what the build and the Windows tests need (the cross
#       compiler, Wine, Xvfb, xdotool, Mesa) and stops.
#
# Missing packages are installed by tools/setup.sh (apt-get, as root or
# through sudo). freeglut has no Windows package in Debian; its Debian
# source package is fetched with an apt configuration of this script's own
# (its lists and cache live in build-windows-deps/apt/), so the machine's
# apt sources stay as they are.
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
DEPS_DIR=$ROOT/build-windows-deps
TOOLCHAIN=$ROOT/cmake/mingw-w64-x86_64.cmake
FREEGLUT_PREFIX=$DEPS_DIR/freeglut
SOURCE_SUITE=bookworm

BUILD_PACKAGES=(g++-mingw-w64-x86-64-posix cmake make)
# Wine's X11 driver loads the X extension libraries at run time; they are
# only recommended by its packages.
TEST_PACKAGES=(wine wine64 xvfb xdotool libgl1 libgl1-mesa-dri python3
    libxrender1 libxrandr2 libxi6 libxcursor1 libxcomposite1 libxfixes3 libxinerama1 libxxf86vm1)

# The Debian mirror this machine uses for the source suite, from its apt
# sources (deb822 files first, then the one-line format).
debian_mirror() {
    local uri=""
    uri=$(awk -v RS= -v suite="$SOURCE_SUITE" '
        {
            n = split($0, lines, "\n"); uris = ""; found = 0
            for (i = 1; i <= n; i++) {
                if (lines[i] ~ /^URIs:/) { split(lines[i], f, /[ \t]+/); uris = f[2] }
                if (lines[i] ~ /^Suites:/) {
                    m = split(lines[i], f, /[ \t]+/)
                    for (j = 2; j <= m; j++) if (f[j] == suite) found = 1
                }
            }
            if (found && uris != "") { print uris; exit }
        }' /etc/apt/sources.list.d/*.sources 2>/dev/null || true)
    if [ -z "$uri" ] && [ -f /etc/apt/sources.list ]; then
        uri=$(sed -E 's/\[[^]]*\]//' /etc/apt/sources.list |
            awk -v suite="$SOURCE_SUITE" '$1 == "deb" && $3 == suite { print $2; exit }')
    fi
    echo "${uri:-http://deb.debian.org/debian}"
}

# Downloads freeglut's Debian source package into build-windows-deps/ and
# prints the path of its upstream tarball. apt checks the files against the
# signed source index.
fetch_freeglut_source() {
    local apt_dir=$DEPS_DIR/apt
    mkdir -p "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial" "$apt_dir/sources.list.d"
    cat >"$apt_dir/sources.list.d/freeglut-source.sources" <<EOF
Types: deb-src
URIs: $(debian_mirror)
Suites: $SOURCE_SUITE
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
EOF
    local apt_options=(
        -o Dir::Etc::SourceList=/dev/null
        -o Dir::Etc::SourceParts="$apt_dir/sources.list.d"
        -o Dir::State::Lists="$apt_dir/lists"
        -o Dir::Cache="$apt_dir/cache"
        -o APT::Sandbox::User=root
    )
    apt-get "${apt_options[@]}" update >&2
    (cd "$DEPS_DIR" && apt-get "${apt_options[@]}" source --download-only freeglut >&2)
    ls "$DEPS_DIR"/freeglut_*.orig.tar.* | head -n 1
}

# Builds freeglut's static library for Windows into build-windows-deps/freeglut
# unless an earlier run has done so.
build_freeglut() {
    if [ -f "$FREEGLUT_PREFIX/built" ]; then
        return 0
    fi
    mkdir -p "$DEPS_DIR"
    local tarball source_dir=$DEPS_DIR/freeglut-source build_dir=$DEPS_DIR/freeglut-build
    tarball=$(fetch_freeglut_source)
    rm -rf "$source_dir" "$build_dir" "$FREEGLUT_PREFIX"
    mkdir -p "$source_dir"
    tar -xf "$tarball" -C "$source_dir" --strip-components=1
    # glut.h is installed too, so that the program includes <GL/glut.h> on
    # every platform.
    cmake -S "$source_dir" -B "$build_dir" \
        -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN" \
        -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_INSTALL_PREFIX="$FREEGLUT_PREFIX" \
        -DFREEGLUT_BUILD_SHARED_LIBS=OFF \
        -DFREEGLUT_BUILD_STATIC_LIBS=ON \
        -DFREEGLUT_BUILD_DEMOS=OFF \
        -DFREEGLUT_REPLACE_GLUT=ON
    cmake --build "$build_dir" -j "$(nproc)"
    cmake --install "$build_dir"
    touch "$FREEGLUT_PREFIX/built"
}

build_program() {
    local build_dir=$1
    shift
    cmake -S "$ROOT" -B "$build_dir" \
        -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN" \
        -DCMAKE_BUILD_TYPE=Release \
        -DVEXA_BUILD_TESTS=OFF \
        -DVEXA_BUILD_REPORT_TOOL=OFF \
        -DFreeGLUT_DIR="$FREEGLUT_PREFIX/lib/cmake/FreeGLUT" \
        "$@"
    cmake --build "$build_dir" -j "$(nproc)"
    echo "windows-build: $build_dir/vexa-texture-speed.exe"
}

if [ "${1:-}" = "--install" ]; then
    "$ROOT/tools/setup.sh" "${BUILD_PACKAGES[@]}" "${TEST_PACKAGES[@]}"
    exit 0
fi

BUILD_DIR=${1:-$ROOT/build-windows}
shift || true
"$ROOT/tools/setup.sh" "${BUILD_PACKAGES[@]}"
build_freeglut
build_program "$BUILD_DIR" "$@"
