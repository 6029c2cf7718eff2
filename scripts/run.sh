#!/usr/bin/env bash
# Installs what is missing, builds Velora and starts it. Without a display it runs under Xvfb.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup-debian.sh
scripts/build.sh
program="${VELORA_BUILD_DIR:-build}/src/ui/velora"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    exec xvfb-run -a "$program" "$@"
fi
exec "$program" "$@"
