#!/usr/bin/env bash
# Makes Velora-<version>-setup.exe, the Windows installer, from a Windows build folder made by
# scripts/test-windows.sh (default build-windows): `cmake --install` into <build>/package/Velora,
# then NSIS (packaging/windows/velora.nsi). The uninstaller removes the files it installed, one
# by one, so that a folder the user chose is never emptied of anything else. Prints the
# installer's path.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=$(realpath "${1:-build-windows}")
command -v makensis >/dev/null || {
    echo "package-windows: NSIS is missing (scripts/setup-debian.sh windows)" >&2
    exit 1
}

stage="$build_dir/package/Velora"
rm -rf "$stage"
cmake --install "$build_dir" --prefix "$stage" --strip >/dev/null
version=$(sed -n 's/^#define VELORA_VERSION "\(.*\)"$/\1/p' "$build_dir/generated/velora_version.h")
[ -n "$version" ]

# The files and folders, as NSIS macros: File for each on installing, Delete on removing.
list="$stage.files.nsh"
{
    echo '!macro VELORA_INSTALL_FILES'
    (cd "$stage" && find . -mindepth 1 -type d | sort) | while read -r folder; do
        echo "    CreateDirectory \"\$INSTDIR\\${folder#./}\""
    done
    (cd "$stage" && find . -type f | sort) | while read -r file; do
        file=${file#./}
        echo "    File \"/oname=${file//\//\\}\" \"$stage/$file\""
    done
    echo '!macroend'
    echo '!macro VELORA_UNINSTALL_FILES'
    (cd "$stage" && find . -type f | sort) | while read -r file; do
        file=${file#./}
        echo "    Delete \"\$INSTDIR\\${file//\//\\}\""
    done
    (cd "$stage" && find . -mindepth 1 -type d | sort -r) | while read -r folder; do
        echo "    RMDir \"\$INSTDIR\\${folder#./}\""
    done
    echo '!macroend'
} >"$list"

setup="$build_dir/Velora-$version-setup.exe"
makensis -V2 -DVERSION="$version" -DSTAGE="$stage" -DOUTFILE="$setup" \
    packaging/windows/velora.nsi >&2
echo "$setup"
