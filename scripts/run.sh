#!/usr/bin/env bash
# Installs what is missing, builds the program and velora-cli (and nothing else: no tests, no
# benchmarks), so that `cmake --install` finds both, and starts the program. Without a display
# it starts a virtual one (Xvfb) and says how to see the program.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup-debian.sh
build_dir="${VELORA_BUILD_DIR:-build}"
# The folder and the flags of scripts/test.sh, so that the tests reuse this build.
VELORA_TARGETS="velora velora-cli" scripts/build.sh "-DVELORA_WERROR=${VELORA_WERROR:-ON}"
program="$build_dir/src/app/velora"

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
    exec "$program" "$@"
fi

# No display: Xvfb picks a free display number and writes it once it accepts connections.
number_file="$(mktemp)"
Xvfb -displayfd 3 -screen 0 1280x900x24 -nolisten tcp 3>"$number_file" 2>/dev/null &
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null; rm -f "$number_file"' EXIT
for _ in $(seq 100); do
    [ -s "$number_file" ] && break
    kill -0 "$xvfb" 2>/dev/null || { echo "Xvfb did not start." >&2; exit 1; }
    sleep 0.1
done
[ -s "$number_file" ] || { echo "Xvfb did not start." >&2; exit 1; }
display=":$(tr -d '[:space:]' <"$number_file")"
cat >&2 <<MESSAGE

No display was found, so Velora runs on the virtual display $display (Xvfb, 1280x900).
To see it from another terminal:
  a picture:  import -display $display -window root velora.png    (ImageMagick)
  live:       x11vnc -display $display -localhost, then a VNC viewer on localhost:5900
Stop the program with Ctrl+C here, or with its menu File > finE.

MESSAGE
DISPLAY="$display" "$program" "$@"
