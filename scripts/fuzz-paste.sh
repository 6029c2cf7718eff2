#!/bin/sh
# Builds the paste reader fuzz target with clang (libFuzzer, AddressSanitizer,
# UndefinedBehaviorSanitizer, checked standard containers) and runs it on one core.
# Usage: scripts/fuzz-paste.sh [seconds]   (default 600)
set -eu
cd "$(dirname "$0")/.."
seconds="${1:-600}"
build=build-fuzz
flags="-g -O1 -fno-omit-frame-pointer -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined -D_GLIBCXX_ASSERTIONS"

cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" \
    -DVELORA_BUILD_UI=OFF -DVELORA_BUILD_TESTS=OFF -DVELORA_FUZZ=ON
cmake --build "$build" -j2 --target paste_reader_fuzz

# The seeds stay as committed; what the fuzzer finds goes into the build folder. One job on one
# worker keeps to a single core; libFuzzer then writes its output to fuzz-0.log there.
root="$(pwd)"
mkdir -p "$build/corpus/paste" "$build/findings"
cd "$build"
status=0
./fuzz/paste_reader_fuzz corpus/paste "$root/fuzz/seeds/inf" \
    -dict="$root/fuzz/inf.dict" -max_len=4096 -timeout=10 -rss_limit_mb=2048 \
    -max_total_time="$seconds" -workers=1 -jobs=1 -print_final_stats=1 \
    -artifact_prefix=findings/ || status=$?
tail -n 20 fuzz-0.log
ls findings
exit "$status"
