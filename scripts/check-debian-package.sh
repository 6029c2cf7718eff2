#!/usr/bin/env bash
# Checks a Velora Debian package: its fields, that it holds the programs, the desktop entry, the
# icon, the file type of sequence files and the copyright and changelog, that the desktop tools
# accept the entry and the file type, and that lintian finds no errors (when it is installed).
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
    ./usr/share/icons/hicolor/48x48/apps/velora.png ./usr/share/mime/packages/velora.xml \
    ./usr/share/doc/velora/copyright ./usr/lib/velora/velora-network.so; do
    grep -qE " $path\$" <<<"$contents" || fail "missing $path"
done

unpacked="$(mktemp -d)"
trap 'rm -rf "$unpacked"' EXIT
dpkg-deb -x "$package" "$unpacked"
desktop-file-validate "$unpacked/usr/share/applications/velora.desktop" || fail "desktop entry"
xmllint --noout "$unpacked/usr/share/mime/packages/velora.xml" || fail "file type XML"
exec_line="$(grep '^Exec=' "$unpacked/usr/share/applications/velora.desktop")"
[ "$exec_line" = "Exec=/usr/bin/velora %f" ] || fail "desktop entry runs $exec_line"
[ "$(sed -n 1p "$unpacked/usr/share/doc/velora/copyright")" = \
    "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/" ] ||
    fail "copyright is not in the machine-readable format"
# A native package (no Debian revision in its version) keeps its changelog as changelog.gz.
version="$(dpkg-deb -f "$package" Version)"
changelog="$unpacked/usr/share/doc/velora/changelog.gz"
[[ "$version" == *-* ]] && changelog="$unpacked/usr/share/doc/velora/changelog.Debian.gz"
[ -f "$changelog" ] || fail "missing ${changelog#"$unpacked"}"
[[ "$(zcat "$changelog")" == "velora ($version) "* ]] ||
    fail "the changelog's first entry is not version $version"
"$unpacked/usr/bin/velora-cli" --version | grep -q '^velora-cli ' || fail "velora-cli --version"
if command -v lintian >/dev/null; then
    # Warnings are shown; an error fails the check.
    lintian --tag-display-limit 0 "$package" | tee "$unpacked/lintian.txt" || true
    ! grep -q '^E: ' "$unpacked/lintian.txt" || fail "lintian reports errors"
else
    echo "NOTE: lintian is missing, the package was not linted (scripts/setup-debian.sh installs it)"
fi
echo "OK: $name"
