#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a short while on its seed corpus.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${FUZZ_SECONDS:-20}
build=${FUZZ_BUILD_DIR:-build-fuzz}
CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DBUILD_FUZZERS=ON -DBUILD_TESTING=OFF -DBUILD_GUI=OFF
cmake --build "$build" -j"$(nproc)"
status=0
for target in "$build"/fuzz/fuzz_*; do
    [ -x "$target" ] || continue
    name=$(basename "$target")
    corpus=$(mktemp -d)
    seeds="fuzz/corpus/${name#fuzz_}"
    [ -d "$seeds" ] && cp -r "$seeds"/. "$corpus"/
    dict=()
    [ -f "fuzz/${name#fuzz_}.dict" ] && dict=("-dict=fuzz/${name#fuzz_}.dict")
    # A private TMPDIR: a harness that leaves its scratch files behind is caught here.
    scratch=$(mktemp -d)
    echo "== $name for ${seconds}s"
    if ! TMPDIR="$scratch" "$target" "${dict[@]}" -max_total_time="$seconds" -rss_limit_mb=2048 \
            -print_final_stats=0 "$corpus" > "$corpus.log" 2>&1; then
        tail -n 60 "$corpus.log"
        echo "FUZZ FINDING in $name"
        status=1
    elif [ -n "$(ls -A "$scratch")" ]; then
        ls -A "$scratch"
        echo "FUZZ LEFTOVER FILES from $name"
        status=1
    fi
    rm -rf "$corpus" "$corpus.log" "$scratch"
done
exit $status
