#!/usr/bin/env bash
# Cross-builds every folder below the Qt line of docs/architecture.md and their GoogleTest
# programs for 64-bit Windows with MinGW-w64, then runs each test program once under Wine. The
# Qt program, velora-cli and their tests are built for Linux only (scripts/test.sh). Installs
# what is missing with apt-get. No display needed.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup-debian.sh windows
build_dir="${VELORA_WINDOWS_BUILD_DIR:-build-windows}"

generator=()
command -v ninja >/dev/null && generator=(-G Ninja)
[ -f "$build_dir/CMakeCache.txt" ] && generator=()
cmake -S . -B "$build_dir" "${generator[@]}" \
    -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DCMAKE_BUILD_TYPE=Release \
    -DVELORA_BUILD_UI=OFF -DVELORA_WERROR=ON -DVELORA_GTEST_SOURCE_DIR=/usr/src/googletest
cmake --build "$build_dir" -j2

# Wine keeps its own Windows folder inside the build folder, and stays quiet and off the display.
export WINEPREFIX="$PWD/$build_dir/wine"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY
wineboot --init >/dev/null 2>&1 || true
ctest --test-dir "$build_dir" --output-on-failure -j2
