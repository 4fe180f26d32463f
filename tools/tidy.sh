#!/usr/bin/env bash
# Runs clang-tidy (.clang-tidy) over every source file under src/; any finding fails.
# Uses the compile commands of the build folder given (default build-test), configuring it if needed.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-${BUILD_DIR:-build-test}}
if [ ! -f "$build/compile_commands.json" ]; then
    cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DBUILD_TESTING=ON >/dev/null
fi
# Generated sources (moc, the embedded tool and loaders) must exist before their includers are checked.
cmake --build "$build" -j"$(nproc)" >/dev/null
mapfile -t files < <(find src -name '*.cpp' | sort)
run-clang-tidy -p "$build" -j "$(nproc)" -quiet "${files[@]/#/$PWD/}"
