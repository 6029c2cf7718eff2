#!/usr/bin/env bash
# Installs what is missing, builds Velora and runs every test. No display is needed.
#   VELORA_WERROR=ON          compiler warnings are errors
#   VELORA_SANITIZE_PASS=ON   then builds again with AddressSanitizer and UndefinedBehaviorSanitizer
#                             into <build dir>-sanitize and runs the whole suite there too
# CI (.ci/run) sets both.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup-debian.sh
build_dir="${VELORA_BUILD_DIR:-build}"
werror="-DVELORA_WERROR=${VELORA_WERROR:-OFF}"
export QT_QPA_PLATFORM=offscreen

scripts/build.sh "$werror"
ctest --test-dir "$build_dir" --output-on-failure -j2

if [ "${VELORA_SANITIZE_PASS:-OFF}" = ON ]; then
    # A fault under a sanitizer stops the test that met it, with the report in its output.
    export ASAN_OPTIONS="abort_on_error=1:strict_string_checks=1:detect_stack_use_after_return=1"
    export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
    VELORA_BUILD_DIR="$build_dir-sanitize" scripts/build.sh "$werror" -DVELORA_SANITIZE=ON
    ctest --test-dir "$build_dir-sanitize" --output-on-failure -j2
fi
