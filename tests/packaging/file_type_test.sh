#!/usr/bin/env bash
# Installs the file type of sequence files into a private data folder and asks the desktop's own
# tools what they make of sample files: sequences with either line end must be claimed, the
# data files of other programs, Windows setup files and .csv files must not.
# Exits 77 (a skip for ctest) when a tool it needs is missing.
#   file_type_test.sh FILE_TYPE.xml [SAMPLE_SEQUENCE.inf]
set -euo pipefail
for tool in update-mime-database gio xdg-mime; do
    if ! command -v "$tool" >/dev/null; then
        echo "SKIP: $tool is missing (scripts/setup-debian.sh installs it)"
        exit 77
    fi
done

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export XDG_DATA_HOME="$work/data"
export XDG_DATA_DIRS="${XDG_DATA_DIRS:-/usr/local/share:/usr/share}"
# xdg-mime asks gio on this desktop; elsewhere it may fall back to tools that ignore the database.
export XDG_CURRENT_DESKTOP=GNOME
mkdir -p "$XDG_DATA_HOME/mime/packages" "$work/files"
cp "$1" "$XDG_DATA_HOME/mime/packages/velora.xml"
update-mime-database "$XDG_DATA_HOME/mime"

ours=application/x-velora-sequence
page=$'1,"  FARMACIA ROSSI   ",5'
failures=0
sample() { printf '%s' "$2" >"$work/files/$1"; }
check() {  # check NAME yes|no
    local by_gio by_xdg
    by_gio="$(gio info -a standard::content-type "$work/files/$1" | sed -n 's/^ *standard::content-type: //p')"
    by_xdg="$(xdg-mime query filetype "$work/files/$1")"
    local gio_says=no xdg_says=no
    [ "$by_gio" = "$ours" ] && gio_says=yes
    [ "$by_xdg" = "$ours" ] && xdg_says=yes
    if [ "$gio_says" != "$2" ] || [ "$xdg_says" != "$2" ]; then
        echo "FAIL: $1 (gio: $by_gio, xdg-mime: $by_xdg), expected claimed=$2"
        failures=$((failures + 1))
    else
        echo "ok: $1 -> $by_gio"
    fi
}

# What must open in the program.
sample crlf.inf "2,18"$'\r\n'"$page"$'\r\n'"$page"$'\r\n'"$page"$'\r\n'"$page"$'\r\n'
sample lf.inf "2,18"$'\n'"$page"$'\n'"$page"$'\n'
sample empty.inf $'0,24\r\n'
sample empty-lf.inf $'0,9\n'
sample full.inf "200,255"$'\r\n'"$page"$'\r\n'
sample narrow.inf "3,9"$'\r\n'"$page"$'\r\n'
sample "sequence without extension" "12,21"$'\r\n'"$page"$'\r\n'
[ -n "${2:-}" ] && cp "$2" "$work/files/shipped.inf"

# What belongs to other programs.
sample results.dat $'1,2,3\r\n4,5,6\r\n'
sample results $'1,2,3\r\n'
sample results-lf $'1,2,3\n'
sample columns.dat $'1,2\r\n3,4\r\n'
sample too-many-pages.inf "201,18"$'\r\n'"$page"$'\r\n'
sample setup.inf $'[Version]\r\nSignature="$Windows NT$"\r\nClass=Ports\r\n'
sample driver.inf $'; driver\r\n[Version]\r\nSignature="$Chicago$"\r\n'
sample table.csv "2,18"$'\r\n'"$page"$'\r\n'
sample plain.csv $'1,2\r\n3,4\r\n'

for name in crlf.inf lf.inf empty.inf empty-lf.inf full.inf narrow.inf "sequence without extension"; do
    check "$name" yes
done
[ -n "${2:-}" ] && check shipped.inf yes
for name in results.dat results results-lf columns.dat too-many-pages.inf setup.inf driver.inf \
    table.csv plain.csv; do
    check "$name" no
done
[ "$failures" -eq 0 ] || exit 1
echo "OK: the file type claims sequences and nothing else"
