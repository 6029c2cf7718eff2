#!/usr/bin/env bash
# Qt for the Windows build: qtbase 6.4.2 (Core, Gui, Widgets, Network, Test, PrintSupport; the
# windows, offscreen and minimal platforms) cross-built for x86_64-w64-mingw32 from Debian 12's
# source, with the host's moc, rcc and uic. Prints the installed folder, for
# -DCMAKE_PREFIX_PATH, on its last line.
#
# The installation is kept in a cache folder ($VELORA_QT_WINDOWS_CACHE, else ~/.cache/velora)
# that later runs reuse. Given VELORA_QT_WINDOWS_ARCHIVE, a .tar.xz of such an installation (a
# folder qt-windows/ inside), it unpacks that instead of building. Building costs some 57
# CPU-minutes (half an hour on two free cores), niced, on two jobs. With --source-only it stops
# once the source is there and mended, before building.
set -euo pipefail
source_only=false
[ "${1:-}" = --source-only ] && source_only=true
cd "$(dirname "$0")/.."
repo=$PWD
cache="${VELORA_QT_WINDOWS_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/velora}"
version=6.4.2
say() { echo "build-qt-windows: $*" >&2; }

# From an archive: one folder per archive, named after its checksum, unpacked once.
if [ -n "${VELORA_QT_WINDOWS_ARCHIVE:-}" ] && ! $source_only; then
    archive=$(realpath "$VELORA_QT_WINDOWS_ARCHIVE")
    sum=$(sha256sum "$archive" | cut -c1-16)
    prefix="$cache/qt-windows-archive-$sum/qt-windows"
    if [ ! -f "$prefix/lib/cmake/Qt6/Qt6Config.cmake" ]; then
        say "unpacking $archive"
        rm -rf "$cache/qt-windows-archive-$sum"
        mkdir -p "$cache/qt-windows-archive-$sum.part"
        nice tar -xJf "$archive" -C "$cache/qt-windows-archive-$sum.part"
        [ -f "$cache/qt-windows-archive-$sum.part/qt-windows/lib/cmake/Qt6/Qt6Config.cmake" ] || {
            say "$archive holds no qt-windows/ installation of Qt"
            exit 1
        }
        mv "$cache/qt-windows-archive-$sum.part" "$cache/qt-windows-archive-$sum"
    fi
    echo "$prefix"
    exit 0
fi

prefix="$cache/qt-$version-mingw-w64-posix/qt-windows"
if [ -f "$prefix/lib/cmake/Qt6/Qt6Config.cmake" ] && ! $source_only; then
    echo "$prefix"
    exit 0
fi

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
scripts/setup-debian.sh windows
# The host's Qt of the same version does the code generation.
for package in qt6-base-dev qt6-base-dev-tools dpkg-dev; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || {
        $sudo apt-get update -qq
        DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends \
            "$package"
    }
done
host_version=$(dpkg-query -W -f='${Version}' qt6-base-dev | sed 's/[+-].*//')
[ "$host_version" = "$version" ] || {
    say "the host's Qt is $host_version, the Windows one would be $version"
    exit 1
}

# Debian's source, through a deb-src line for Debian 12 when the system has none.
work="$cache/qt-$version-build"
mkdir -p "$work"
if ! compgen -G "$work/qt6-base-$version*/" >/dev/null; then
    if ! grep -rqs '^deb-src .*bookworm' /etc/apt/sources.list /etc/apt/sources.list.d/ &&
        ! grep -rqs '^Types:.*deb-src' /etc/apt/sources.list.d/*.sources; then
        say "adding Debian 12's sources to apt"
        # Signed by the same keys as Debian's own lines, which apt wants alike.
        keyring=/usr/share/keyrings/debian-archive-keyring.gpg
        options=""
        [ -f "$keyring" ] && options="[signed-by=$keyring] "
        echo "deb-src ${options}http://deb.debian.org/debian bookworm main" |
            $sudo tee /etc/apt/sources.list.d/velora-bookworm-src.list >/dev/null
        $sudo apt-get update -qq
    fi
    (cd "$work" && apt-get source -qq qt6-base="$(dpkg-query -W -f='${Version}' qt6-base-dev)")
fi
source_dir=$(compgen -G "$work/qt6-base-$version*/" | head -n1)
source_dir=${source_dir%/}

# Without Direct2D, Qt 6.4.2's PrintSupport and windows plugin reach for DirectWrite code that
# needs it: the guards ask for both.
patch_mark="$source_dir/.velora-direct2d-guards"
if [ ! -f "$patch_mark" ]; then
    sed -i 's/^#if QT_CONFIG(directwrite)$/#if QT_CONFIG(directwrite) \&\& QT_CONFIG(direct2d)/' \
        "$source_dir/src/printsupport/platform/windows/qprintengine_win.cpp"
    sed -i 's/^#if QT_CONFIG(directwrite3)$/#if QT_CONFIG(directwrite3) \&\& QT_CONFIG(direct2d)/' \
        "$source_dir/src/plugins/platforms/windows/qwindowsintegration.cpp"
    grep -q 'QT_CONFIG(directwrite) && QT_CONFIG(direct2d)' \
        "$source_dir/src/printsupport/platform/windows/qprintengine_win.cpp"
    grep -q 'QT_CONFIG(directwrite3) && QT_CONFIG(direct2d)' \
        "$source_dir/src/plugins/platforms/windows/qwindowsintegration.cpp"
    touch "$patch_mark"
fi

if $source_only; then
    echo "$source_dir"
    exit 0
fi

# Qt 6 takes the cross compilers from a CMake toolchain file only.
toolchain="$work/mingw-w64-x86_64-posix.cmake"
cat >"$toolchain" <<'CMAKE'
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
CMAKE

build="$work/build"
mkdir -p "$build"
say "configuring in $build"
(cd "$build" && nice "$source_dir/configure" -prefix "$prefix" \
    -release -shared -xplatform win32-g++ -qt-host-path /usr \
    -nomake tests -nomake examples -no-opengl -no-dbus -no-icu -no-direct2d \
    -no-feature-sql -no-feature-concurrent -no-feature-xml -no-feature-vulkan \
    -no-feature-tabletevent -no-libjpeg -no-gif \
    -qt-zlib -qt-pcre -qt-libpng -qt-freetype -qt-harfbuzz -- \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DFEATURE_network=ON) >&2
say "building (about 57 CPU-minutes)"
nice cmake --build "$build" --parallel 2 >&2
nice cmake --install "$build" >&2
[ -f "$prefix/lib/cmake/Qt6/Qt6Config.cmake" ]
rm -rf "$build"
cd "$repo"
echo "$prefix"
