#!/usr/bin/env bash
# Installs what Velora needs to build, run and test on Debian 12, skipping what is already there.
# With "windows": what the cross-build for Windows, its run under Wine and its installer need
# (the host's Qt tools generate the code, its Italian translations are shipped).
set -euo pipefail

if [ "${1:-}" = windows ]; then
    packages=(cmake ninja-build ccache g++-mingw-w64-x86-64-posix wine wine64 googletest
        qt6-base-dev qt6-base-dev-tools qt6-translations-l10n librsvg2-bin imagemagick nsis
        fonts-dejavu-core xvfb xauth xdotool)
    # The pseudo-terminals behind the COM ports of the serial port's tests.
    packages+=(python3)
else
    packages=(
        cmake g++ make ninja-build ccache pkgconf
        qt6-base-dev qt6-serialport-dev qt6-svg-dev libgl-dev qt6-translations-l10n
        libgtest-dev libgmock-dev
        clang-format xvfb xauth fonts-liberation desktop-file-utils
        libxml2-utils dpkg-dev
        shared-mime-info libglib2.0-bin xdg-utils lintian
        ser2net socat systemd
    )
fi

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done

if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
