#!/usr/bin/env bash
# Configures and builds Velora into build/ (or $VELORA_BUILD_DIR), with Ninja where it is
# installed; ccache, where installed, is picked up by CMake itself. Arguments are CMake options;
# VELORA_TARGETS, when set, names the targets to build instead of all.
# The build type is Release (optimised, no debug information): run.sh and test.sh share this
# folder and these flags, so the tests reuse what run.sh built. For a debugger:
# VELORA_BUILD_TYPE=RelWithDebInfo.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir="${VELORA_BUILD_DIR:-build}"
generator=()
# A build folder keeps the generator it was made with.
if [ ! -f "$build_dir/CMakeCache.txt" ] && command -v ninja >/dev/null; then
    generator=(-G Ninja)
fi
cmake -S . -B "$build_dir" "${generator[@]}" -DCMAKE_BUILD_TYPE="${VELORA_BUILD_TYPE:-Release}" "$@"
targets=()
if [ -n "${VELORA_TARGETS:-}" ]; then
    read -ra targets <<<"$VELORA_TARGETS"
    targets=(--target "${targets[@]}")
fi
cmake --build "$build_dir" -j2 "${targets[@]}"
