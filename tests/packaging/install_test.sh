#!/usr/bin/env bash
# Installs a build tree as `cmake --install` does for a user (a prefix of their own, with a blank
# in its name, its bin folder not on PATH) and as a package build does (DESTDIR), and checks that
# the first leaves a desktop where a sequence file opens in Velora at once, and that the second
# leaves the desktop's caches to the package system.
# Exits 77 (a skip for ctest) when a tool it needs is missing.
#   install_test.sh BUILD_DIR SAMPLE_SEQUENCE.inf
set -euo pipefail
for tool in update-mime-database update-desktop-database desktop-file-validate gio; do
    if ! command -v "$tool" >/dev/null; then
        echo "SKIP: $tool is missing (scripts/setup-debian.sh installs it)"
        exit 77
    fi
done
fail() { echo "FAIL: $*" >&2; exit 1; }
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

prefix="$work/my local"
env -u DESTDIR cmake --install "$1" --prefix "$prefix" >"$work/install.log" 2>&1 || {
    cat "$work/install.log" >&2
    fail "cmake --install"
}
entry="$prefix/share/applications/velora.desktop"
desktop-file-validate "$entry" || fail "desktop entry"
exec_line="$(grep '^Exec=' "$entry")"
[ "$exec_line" = "Exec=\"$prefix/bin/velora\" %f" ] || fail "desktop entry runs $exec_line"
[ -x "$prefix/bin/velora" ] || fail "no program at $prefix/bin/velora"
[ -f "$prefix/share/mime/mime.cache" ] || fail "the file type cache was not made"
[ -f "$prefix/share/applications/mimeinfo.cache" ] || fail "the application cache was not made"

# What a desktop of this user sees, with nothing run by hand.
export XDG_DATA_HOME="$prefix/share"
export XDG_DATA_DIRS="${XDG_DATA_DIRS:-/usr/local/share:/usr/share}"
cp "$2" "$work/vetrina.inf"
type="$(gio info -a standard::content-type "$work/vetrina.inf" | sed -n 's/^ *standard::content-type: //p')"
[ "$type" = application/x-velora-sequence ] || fail "a sequence file is $type"
programs="$(gio mime application/x-velora-sequence)"
grep -q 'Default application.*: velora.desktop$' <<<"$programs" ||
    fail "velora is not the default program of sequence files: $programs"

# A package build: the entry names the packaged program, the caches are not made.
DESTDIR="$work/stage" cmake --install "$1" --prefix /usr >"$work/stage.log" 2>&1 || {
    cat "$work/stage.log" >&2
    fail "cmake --install with DESTDIR"
}
grep -qx 'Exec=/usr/bin/velora %f' "$work/stage/usr/share/applications/velora.desktop" ||
    fail "staged desktop entry: $(grep '^Exec=' "$work/stage/usr/share/applications/velora.desktop")"
[ ! -e "$work/stage/usr/share/mime/mime.cache" ] || fail "a staged install made the file type cache"
[ ! -e "$work/stage/usr/share/applications/mimeinfo.cache" ] || fail "a staged install made the application cache"
echo "OK: installed and staged"
