#!/usr/bin/env bash
# Configures and builds Velora into build/ (or $VELORA_BUILD_DIR).
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir="${VELORA_BUILD_DIR:-build}"
cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE="${VELORA_BUILD_TYPE:-RelWithDebInfo}" "$@"
cmake --build "$build_dir" -j2
