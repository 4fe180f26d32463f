#!/usr/bin/env bash
# Takes the README's picture of Corvane with the sample database loaded, under a virtual X server.
# Usage: tools/screenshot.sh [OUTPUT.png]   (BUILD_DIR selects the build folder, default "build")
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:-docs/corvane.png}
build=${BUILD_DIR:-build}
if [ ! -x "$build/src/editor/corvane" ]; then
    tools/install-deps.sh
    cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF
    cmake --build "$build" --target corvane -j2
fi
mkdir -p "$(dirname "$out")"
# The program itself grabs its window once the sample is shown, so no screen-capture tool is needed.
QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1280x800x24" \
    "$build/src/editor/corvane" samples/sample.db --screenshot "$out"
echo "wrote $out"
