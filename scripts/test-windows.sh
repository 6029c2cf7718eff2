#!/usr/bin/env bash
# Cross-builds Velora for 64-bit Windows with MinGW-w64 (velora.exe, velora-cli.exe, the model's
# GoogleTest programs and the Qt UI tests) and runs it under Wine, with no display:
#   1. Qt for Windows: the archive in $VELORA_QT_WINDOWS_ARCHIVE, else one found in
#      ../shared/qt-windows/ or /work/shared/qt-windows/, else built from Debian's source
#      (scripts/build-qt-windows.sh; kept in a cache folder for later runs);
#   2. the build, warnings as errors;
#   3. every test program once under Wine, the UI tests offscreen;
#   4. velora-cli.exe send and clock through a COM port to the Linux sign (tests/windows);
#   5. the installer (scripts/package-windows.sh), installed, started and removed under Wine.
# Each step's time is printed as it ends. Installs what is missing with apt-get.
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$PWD
build_dir="${VELORA_WINDOWS_BUILD_DIR:-build-windows}"
started=$SECONDS
step_start=$SECONDS
step() {
    echo "test-windows: $1: $((SECONDS - step_start)) s"
    step_start=$SECONDS
}

scripts/setup-debian.sh windows
step "setup"

if [ -z "${VELORA_QT_WINDOWS_ARCHIVE:-}" ]; then
    for candidate in "$repo"/../shared/qt-windows/*.tar.xz /work/shared/qt-windows/*.tar.xz; do
        if [ -f "$candidate" ]; then
            export VELORA_QT_WINDOWS_ARCHIVE="$candidate"
            break
        fi
    done
fi
qt=$(scripts/build-qt-windows.sh | tail -n1)
step "Qt for Windows (${VELORA_QT_WINDOWS_ARCHIVE:-built from source})"

generator=()
command -v ninja >/dev/null && generator=(-G Ninja)
[ -f "$build_dir/CMakeCache.txt" ] && generator=()
# Qt's toolchain file finds the Windows Qt and the host's tools, then loads the project's.
cmake -S . -B "$build_dir" "${generator[@]}" \
    -DCMAKE_TOOLCHAIN_FILE="$qt/lib/cmake/Qt6/qt.toolchain.cmake" \
    -DQT_CHAINLOAD_TOOLCHAIN_FILE="$repo/cmake/mingw-w64-x86_64.cmake" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DCMAKE_BUILD_TYPE=Release -DVELORA_WERROR=ON -DVELORA_GTEST_SOURCE_DIR=/usr/src/googletest
nice cmake --build "$build_dir" -j2
step "build"

# Wine keeps its own Windows folder inside the build folder, and stays quiet and off the display.
export WINEPREFIX="$PWD/$build_dir/wine"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY
wineboot --init >/dev/null 2>&1 || true
step "Wine"

# COM ports for the serial port's tests: COM7 and COM8 are the two ends of a null-modem pair of
# pseudo-terminals, COM9 and COM10 lines whose far end hangs up at the first byte it receives
# (one for the line's tests, one for the adapter's). Wine maps a COM port to a Linux device
# through its registry and lists it among the serial devices.
map_com_ports() {
    local listing="$PWD/$build_dir/com-ports.txt"
    rm -f "$listing"
    python3 scripts/wine-com-ports.py "$listing" &
    com_ports_pid=$!
    trap 'kill "$com_ports_pid" 2>/dev/null || true; wineserver -k 2>/dev/null || true' EXIT
    for _ in $(seq 100); do [ -f "$listing" ] && break; sleep 0.1; done
    local a b lone other
    read -r _ a b < <(grep '^pair ' "$listing")
    read -r _ lone other < <(grep '^hangup ' "$listing")
    wine reg add 'HKLM\Software\Wine\Ports' /v COM7 /d "$a" /f >/dev/null
    wine reg add 'HKLM\Software\Wine\Ports' /v COM8 /d "$b" /f >/dev/null
    wine reg add 'HKLM\Software\Wine\Ports' /v COM9 /d "$lone" /f >/dev/null
    wine reg add 'HKLM\Software\Wine\Ports' /v COM10 /d "$other" /f >/dev/null
    # The ports appear when Wine starts again; the device map lists them once it has started.
    # Its server hears the hang-up too, and then lists its objects on its output: that goes
    # nowhere, and the server stays up until the end.
    wineserver -k || true
    wineserver -p >/dev/null 2>&1
    wine reg query 'HKLM\HARDWARE\DEVICEMAP\SERIALCOMM' >/dev/null
    export VELORA_TEST_COM_PAIR=COM7,COM8 VELORA_TEST_COM_HANGUP=COM9,COM10
}
map_com_ports

nice ctest --test-dir "$build_dir" --output-on-failure -j2
step "tests under Wine"

# The Linux side of the link: velora-cli of the Linux build (scripts/test.sh's, when it is there).
scripts/setup-debian.sh
VELORA_TARGETS=velora-cli nice scripts/build.sh -DVELORA_WERROR=ON >/dev/null
nice tests/windows/com_link_test.sh "$build_dir" "${VELORA_BUILD_DIR:-build}/src/cli/velora-cli"
step "COM-port link test"

scripts/package-windows.sh "$build_dir"
step "installer"
nice tests/windows/installer_test.sh "$build_dir"
step "installer test"

echo "test-windows: all: $((SECONDS - started)) s"
