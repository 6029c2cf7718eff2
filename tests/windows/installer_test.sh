#!/usr/bin/env bash
# The Windows installer under Wine (scripts/test-windows.sh runs it after
# scripts/package-windows.sh): installed silently, the installed programs started (velora.exe's
# window seen on a virtual display), then removed silently, leaving none of its files and none of
# its registry keys, and .inf files still Windows' setup information by default.
# Usage: installer_test.sh BUILD_DIR (the Wine folder is BUILD_DIR/wine, as the tests use).
set -euo pipefail
build_dir=$(realpath "$1")
setup=$(ls "$build_dir"/Velora-*-setup.exe | head -n1)
export WINEPREFIX="$build_dir/wine"
export WINEDEBUG=-all
# No desktop entries in the Linux home for the Start-menu entry.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
unset WINEPATH WINEQT_PLUGIN_PATH WINEQT_QPA_PLATFORM

fail() {
    echo "installer_test: $*" >&2
    exit 1
}
key() { wine reg query "$@" >/dev/null 2>&1; }
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Velora'
inf_default() { wine reg query 'HKLM\Software\Classes\.inf' /ve 2>/dev/null | tr -d '\r' | grep REG_SZ || true; }

wineboot --init >/dev/null 2>&1 || true
folder=$(winepath -u 'C:\Program Files\Velora' 2>/dev/null)
menu=$(winepath -u 'C:\ProgramData\Microsoft\Windows\Start Menu\Programs' 2>/dev/null)
[ ! -e "$folder" ] || fail "$folder is there before installing"
inf_before=$(inf_default)

# Installing.
wine "$setup" /S
for file in velora.exe velora-cli.exe uninstall.exe Qt6Core.dll Qt6Gui.dll Qt6Widgets.dll \
    Qt6Network.dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll \
    platforms/qwindows.dll styles/qwindowsvistastyle.dll translations/qtbase_it.qm; do
    [ -f "$folder/$file" ] || fail "not installed: $file"
done
[ -f "$menu/Velora.lnk" ] || fail "no Start-menu entry Velora"
wine reg query "$uninstall_key" /v DisplayName | grep -q 'Velora' || fail "not in the list of programs"
wine reg query "$uninstall_key" /v UninstallString | grep -qi 'uninstall.exe' ||
    fail "no uninstaller in the list of programs"
key 'HKLM\Software\Classes\.inf\OpenWithProgids' /v Velora.Sequenza || fail "not under Apri con for .inf"
key 'HKLM\Software\Classes\Applications\velora.exe\SupportedTypes' /v .inf ||
    fail "velora.exe does not say it opens .inf"
[ "$(inf_default)" = "$inf_before" ] || fail ".inf changed its default: $(inf_default)"

# The installed programs start with what the installer put beside them.
version=$(wine "$folder/velora-cli.exe" --version | tr -d '\r')
[[ "$version" == "velora-cli "* ]] || fail "velora-cli.exe --version said: $version"

display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
work=$(mktemp -d)
cleanup() {
    [ -n "${program:-}" ] && kill "$program" 2>/dev/null || true
    kill "$xvfb" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
sleep 1
(cd "$work" && DISPLAY=$display exec wine "$folder/velora.exe") >/dev/null 2>&1 &
program=$!
windows=$(DISPLAY=$display timeout 60 xdotool search --sync --onlyvisible --class velora.exe) ||
    fail "velora.exe showed no window"
names=$(for window in $windows; do DISPLAY=$display xdotool getwindowname "$window"; done)
echo "installer_test: velora.exe shows: $(echo "$names" | paste -sd '|')"
kill "$program"
wait "$program" 2>/dev/null || true
program=""
timeout 120 wineserver -w || true

# Removing. The uninstaller copies itself elsewhere and returns at once: wait for its work.
wine "$folder/uninstall.exe" /S
for _ in $(seq 120); do
    [ ! -e "$folder" ] && ! key "$uninstall_key" && break
    sleep 0.5
done
timeout 120 wineserver -w || true
[ ! -e "$folder" ] || fail "left behind: $(find "$folder" | head)"
[ ! -e "$menu/Velora.lnk" ] || fail "left behind: the Start-menu entry"
for left in "$uninstall_key" 'HKLM\Software\Classes\Applications\velora.exe' \
    'HKLM\Software\Classes\Velora.Sequenza'; do
    ! key "$left" || fail "left behind: $left"
done
! key 'HKLM\Software\Classes\.inf\OpenWithProgids' /v Velora.Sequenza ||
    fail "left behind: Velora under Apri con"
[ "$(inf_default)" = "$inf_before" ] || fail ".inf changed its default: $(inf_default)"
echo "installer_test: installed, started and removed"
