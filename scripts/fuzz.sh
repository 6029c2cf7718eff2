#!/bin/sh
# Builds one fuzz target with clang (libFuzzer, AddressSanitizer, UndefinedBehaviorSanitizer,
# checked standard containers) and runs it on one core.
# Usage: scripts/fuzz.sh TARGET [seconds]   (default 600)
#   TARGET: inf, telnet, paste, page-record, or a target's own name (inf_reader_fuzz, ...)
set -eu
cd "$(dirname "$0")/.."

usage() {
    echo "usage: scripts/fuzz.sh inf|telnet|paste|page-record [seconds]" >&2
    exit 2
}

[ $# -ge 1 ] || usage
# Each target: its name, its corpus folder, the committed seeds, the dictionary, the longest input.
dict=""
case "$1" in
inf | inf_reader_fuzz)
    target=inf_reader_fuzz corpus=inf seeds=inf dict=inf.dict max_len=4096 ;;
telnet | telnet_codec_fuzz)
    target=telnet_codec_fuzz corpus=telnet seeds=telnet max_len=1024 ;;
paste | paste_reader_fuzz)
    target=paste_reader_fuzz corpus=paste seeds=inf dict=inf.dict max_len=4096 ;;
page-record | page_record | page_record_fuzz)
    target=page_record_fuzz corpus=page-record seeds=page-record max_len=1024 ;;
*) usage ;;
esac
seconds="${2:-600}"
case "$seconds" in '' | *[!0-9]*) usage ;; esac

build=build-fuzz
flags="-g -O1 -fno-omit-frame-pointer -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined -D_GLIBCXX_ASSERTIONS"

cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" \
    -DVELORA_BUILD_UI=OFF -DVELORA_BUILD_TESTS=OFF -DVELORA_FUZZ=ON
cmake --build "$build" -j2 --target "$target"

# The seeds stay as committed; what the fuzzer finds goes into the build folder. One job on one
# worker keeps to a single core; libFuzzer then writes its output to fuzz-0.log there.
root="$(pwd)"
set -- "corpus/$corpus"
[ -d "fuzz/seeds/$seeds" ] && set -- "$@" "$root/fuzz/seeds/$seeds"
[ -n "$dict" ] && set -- "$@" "-dict=$root/fuzz/$dict"
mkdir -p "$build/corpus/$corpus" "$build/findings/$corpus"
cd "$build"
status=0
"./fuzz/$target" "$@" -max_len="$max_len" -timeout=10 -rss_limit_mb=2048 \
    -max_total_time="$seconds" -workers=1 -jobs=1 -print_final_stats=1 \
    -artifact_prefix="findings/$corpus/" || status=$?
tail -n 20 fuzz-0.log
ls "findings/$corpus"
exit "$status"
