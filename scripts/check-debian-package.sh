#!/usr/bin/env bash
# Checks a Velora Debian package: its fields, that it holds the programs, the desktop entry, the
# icon and the file type of sequence files, and that the desktop tools accept the last two.
# Exits 77 (a skip for ctest) when a tool it needs is missing.
#   check-debian-package.sh PACKAGE.deb
#   check-debian-package.sh --build BUILD_DIR OUT_DIR    makes the package from a build tree first
set -euo pipefail
for tool in dpkg-deb dpkg-shlibdeps desktop-file-validate xmllint; do
    if ! command -v "$tool" >/dev/null; then
        echo "SKIP: $tool is missing (scripts/setup-debian.sh installs it)"
        exit 77
    fi
done
fail() { echo "FAIL: $*" >&2; exit 1; }

if [ "$1" = --build ]; then
    rm -rf "$3"
    cpack -G DEB -B "$3" --config "$2/CPackConfig.cmake" >"$3.log" 2>&1 || {
        cat "$3.log" >&2
        fail "cpack"
    }
    shopt -s nullglob
    made=("$3"/velora_*.deb)
    [ "${#made[@]}" -eq 1 ] || fail "cpack made ${#made[@]} packages"
    package="${made[0]}"
else
    package="$1"
fi

name="$(basename "$package")"
[[ "$name" =~ ^velora_[0-9][0-9.]*_[a-z0-9]+\.deb$ ]] || fail "file name $name"
[ "$(dpkg-deb -f "$package" Package)" = velora ] || fail "package name"
depends="$(dpkg-deb -f "$package" Depends)"
for needed in qt6-translations-l10n libqt6widgets6 libqt6serialport6 libqt6svg6; do
    [[ "$depends" == *"$needed"* ]] || fail "Depends lacks $needed: $depends"
done
for field in Version Architecture Maintainer Description; do
    [ -n "$(dpkg-deb -f "$package" "$field")" ] || fail "no $field"
done

contents="$(dpkg-deb -c "$package")"
for path in ./usr/bin/velora ./usr/bin/velora-cli ./usr/share/applications/velora.desktop \
    ./usr/share/icons/hicolor/scalable/apps/velora.svg \
    ./usr/share/icons/hicolor/48x48/apps/velora.png ./usr/share/mime/packages/velora.xml; do
    grep -qE " $path\$" <<<"$contents" || fail "missing $path"
done

unpacked="$(mktemp -d)"
trap 'rm -rf "$unpacked"' EXIT
dpkg-deb -x "$package" "$unpacked"
desktop-file-validate "$unpacked/usr/share/applications/velora.desktop" || fail "desktop entry"
xmllint --noout "$unpacked/usr/share/mime/packages/velora.xml" || fail "file type XML"
"$unpacked/usr/bin/velora-cli" --version | grep -q '^velora-cli ' || fail "velora-cli --version"
echo "OK: $name"
