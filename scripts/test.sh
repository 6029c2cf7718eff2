#!/usr/bin/env bash
# Installs what is missing, builds Velora and runs every test. No display is needed.
#   1. the tree must be formatted as .clang-format says, and its includes must keep the layers
#      of docs/architecture.md;
#   2. the build treats compiler warnings as errors, and the whole suite runs.
# With --sanitize, as CI runs it, the tree is then built again with AddressSanitizer and
# UndefinedBehaviorSanitizer into <build dir>-sanitize and the whole suite runs there too.
# It builds in build/ with run.sh's flags (Release, no debug information), so that the tests
# reuse what run.sh built. 853 CPU-seconds on a fresh clone with an empty ccache (about 7 minutes
# on two idle cores); --sanitize adds some 15 minutes. With warnings left as warnings: VELORA_WERROR=OFF scripts/test.sh
set -euo pipefail
cd "$(dirname "$0")/.."

sanitize=OFF
for arg in "$@"; do
    case "$arg" in
    --sanitize) sanitize=ON ;;
    *)
        echo "Usage: scripts/test.sh [--sanitize]" >&2
        exit 64
        ;;
    esac
done

scripts/setup-debian.sh
scripts/check-format.sh
scripts/check-layers.sh
build_dir="${VELORA_BUILD_DIR:-build}"
werror="-DVELORA_WERROR=${VELORA_WERROR:-ON}"
export QT_QPA_PLATFORM=offscreen

scripts/build.sh "$werror"
ctest --test-dir "$build_dir" --output-on-failure -j2

if [ "$sanitize" = ON ]; then
    # A fault under a sanitizer stops the test that met it, with the report in its output.
    export ASAN_OPTIONS="abort_on_error=1:strict_string_checks=1:detect_stack_use_after_return=1"
    export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
    # With debug information, so that a report names the lines.
    VELORA_BUILD_DIR="$build_dir-sanitize" VELORA_BUILD_TYPE="${VELORA_BUILD_TYPE:-RelWithDebInfo}" \
        scripts/build.sh "$werror" -DVELORA_SANITIZE=ON
    ctest --test-dir "$build_dir-sanitize" --output-on-failure -j2
fi
