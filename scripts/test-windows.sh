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

ctest --test-dir "$build_dir" --output-on-failure -j2
