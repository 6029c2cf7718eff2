#!/usr/bin/env bash
# Installs what Velora needs to build, run and test on Debian 12, skipping what is already there.
set -euo pipefail

packages=(
    cmake g++ make pkgconf
    qt6-base-dev qt6-serialport-dev qt6-svg-dev libgl-dev qt6-translations-l10n
    libgtest-dev libgmock-dev
    clang-format xvfb xauth fonts-liberation desktop-file-utils
    libxml2-utils dpkg-dev
)

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
