#!/usr/bin/env bash
# Configures and builds Velora into build/ (or $VELORA_BUILD_DIR), with Ninja where it is
# installed; ccache, where installed, is picked up by CMake itself.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir="${VELORA_BUILD_DIR:-build}"
generator=()
# A build folder keeps the generator it was made with.
if [ ! -f "$build_dir/CMakeCache.txt" ] && command -v ninja >/dev/null; then
    generator=(-G Ninja)
fi
cmake -S . -B "$build_dir" "${generator[@]}" -DCMAKE_BUILD_TYPE="${VELORA_BUILD_TYPE:-RelWithDebInfo}" "$@"
cmake --build "$build_dir" -j2
