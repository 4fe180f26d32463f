#!/usr/bin/env bash
# Builds the programs and opens the bundled sample channel database.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF
cmake --build build -j"$(nproc)"
if [ -x build/src/editor/corvane ]; then
    exec build/src/editor/corvane samples/sample.db
fi
exec build/src/cli/corvane-cli info samples/sample.db
