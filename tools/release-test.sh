#!/usr/bin/env bash
# The build a distribution makes: Release with tests (GCC, -O2), everything built (the benchmarks
# too, so that they keep compiling; they are not run here), the tests that need no window run.
# Warnings are errors when WARNINGS_AS_ERRORS=ON (CI sets it).
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
build=${RELEASE_BUILD_DIR:-build-release}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" \
    -DBUILD_TESTING=ON -DBUILD_BENCH=ON -DWARNINGS_AS_ERRORS="${WARNINGS_AS_ERRORS:-OFF}"
cmake --build "$build" -j"$(nproc)"
ctest --test-dir "$build" --output-on-failure -j"$(nproc)" --label-exclude gui
