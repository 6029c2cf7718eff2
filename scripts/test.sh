#!/usr/bin/env bash
# Installs what is missing, builds Velora and runs every test. No display is needed.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup-debian.sh
scripts/build.sh
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "${VELORA_BUILD_DIR:-build}" --output-on-failure -j2
