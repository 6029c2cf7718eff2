#!/usr/bin/env bash
# Builds the programs in a release build of their own and makes the Debian package,
# build-package/velora_<version>_<arch>.deb, then checks it. Install it with
#   sudo apt-get install ./build-package/velora_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir="${VELORA_PACKAGE_DIR:-build-package}"
cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=Release -DVELORA_BUILD_TESTS=OFF >/dev/null
cmake --build "$build_dir" -j"$(nproc)" --target velora velora-cli
(cd "$build_dir" && cpack -G DEB -B "$PWD" >/dev/null)
package="$(ls -t "$build_dir"/velora_*.deb | head -n 1)"
scripts/check-debian-package.sh "$package"
echo "$package"
