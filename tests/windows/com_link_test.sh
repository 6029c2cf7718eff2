#!/usr/bin/env bash
# velora-cli.exe under Wine against the Linux virtual sign (scripts/test-windows.sh runs it):
# `velora-cli sign` serves a pseudo-terminal, Wine's registry maps COM5 to it, and velora-cli.exe
# sends a file with an accented name and sets the clock through COM5. The journal's TX lines
# after the connect request are the upload as dump prints it, on Windows and on Linux alike.
# Usage: com_link_test.sh BUILD_DIR LINUX_VELORA_CLI (the Wine folder is BUILD_DIR/wine).
set -euo pipefail
build_dir=$(realpath "$1")
linux_cli=$(realpath "$2")
repo=$(cd "$(dirname "$0")/../.." && pwd)
export WINEPREFIX="$build_dir/wine"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
# Wine reads the Linux names through the locale: accents need UTF-8.
export LC_ALL=C.UTF-8
cli="$build_dir/bin/velora-cli.exe"

fail() {
    echo "com_link_test: $*" >&2
    exit 1
}

work=$(mktemp -d)
sign=""
cleanup() {
    [ -n "$sign" ] && kill "$sign" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
"$linux_cli" sign >"$work/sign.out" &
sign=$!
for _ in $(seq 100); do
    [ -s "$work/sign.out" ] && break
    sleep 0.1
done
device=$(head -n1 "$work/sign.out")
[[ "$device" == /dev/* ]] || fail "the Linux sign gave no device: $device"

# Wine takes a new COM port when it starts again.
wine reg add 'HKLM\Software\Wine\Ports' /v COM5 /d "$device" /f >/dev/null
wineserver -k 2>/dev/null || true
wineserver -w
# The server prints its objects when a line hangs up (as the sign's does at the end): it runs
# with its output nowhere, until some seconds after the last program.
wineserver -p10 >/dev/null 2>&1

file="$work/vetrina è già.inf"
cp "$repo/docs/vetrina.inf" "$file"
windows_file=$(winepath -w "$file")
windows_log=$(winepath -w "$work/registro.txt")

sent=$(wine "$cli" send "$windows_file" --port COM5 --log "$windows_log" | tr -d '\r') ||
    fail "send failed: $sent"
[[ "$sent" =~ ^[0-9]+\ \ Pagine$ ]] || fail "send said: $sent"
clock=$(wine "$cli" clock --port COM5 | tr -d '\r') || fail "clock failed: $clock"
[ "$clock" = "Data/Ora OK" ] || fail "clock said: $clock"

# The journal: "HH:MM:SS.mmm TX bytes" lines, the connect request first.
mapfile -t tx < <(tr -d '\r' <"$work/registro.txt" | sed -n 's/^[0-9:.]* TX //p')
[ "${#tx[@]}" -ge 2 ] || fail "the journal has ${#tx[@]} TX lines"
[ "${tx[0]}" = D4 ] || fail "the first TX line is ${tx[0]}, not the connect request"
uploaded=$(printf '%s\n' "${tx[@]:1}" | paste -sd ' ')
windows_dump=$(wine "$cli" dump "$windows_file" | tr -d '\r' | paste -sd ' ')
linux_dump=$("$linux_cli" dump "$file" | paste -sd ' ')
[ "$windows_dump" = "$linux_dump" ] || fail "dump differs on Windows: $windows_dump"
[ "$uploaded" = "$linux_dump" ] || fail "the upload differs from dump:
 sent: $uploaded
 dump: $linux_dump"
echo "com_link_test: $sent and Data/Ora OK through COM5, ${#tx[@]} TX lines as dump"
