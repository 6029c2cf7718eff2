#!/usr/bin/env bash
# Takes the pictures of the four windows and of a file dialog under Xvfb and writes them to docs/
# (or to the folder given). Set QT_SCALE_FACTOR=1.5 to see the windows at 150%.
set -euo pipefail
cd "$(dirname "$0")/.."
out="${1:-docs}"
build="${VELORA_BUILD_DIR:-build}"
[ -f "$build/CMakeCache.txt" ] || cmake -S . -B "$build" >/dev/null
cmake --build "$build" -j2 --target velora-screenshots
# The Fusion style and the Italian locale (for the clock line), so that pictures taken on
# different machines look alike.
LANG=it_IT.UTF-8 LC_ALL= QT_QPA_PLATFORM=xcb QT_STYLE_OVERRIDE="${QT_STYLE_OVERRIDE:-Fusion}" \
    xvfb-run -a -s "-screen 0 1280x1024x24" "$build/scripts/screenshots/velora-screenshots" "$out"
if command -v optipng >/dev/null; then
    optipng -quiet -o2 "$out"/editor.png "$out"/transmission.png "$out"/settings.png \
        "$out"/information.png "$out"/save-as.png
fi
