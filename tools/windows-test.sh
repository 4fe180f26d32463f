#!/usr/bin/env bash
# The Windows build: boot.exe, corvane-cli.exe and the window-free tests cross-built with mingw-w64
# (CMake preset "windows", folder build-win), those tests run under wine, then the Linux side's wine
# tests drive the Windows boot.exe against the simulated board (a COM port mapped to its
# pseudo-terminal) and curl, and compare corvane-cli.exe's conversions with the Linux corvane-cli's.
# Wine runs headless in a throwaway prefix.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
export WINEDEBUG=-all
WINEPREFIX=$(mktemp -d)
export WINEPREFIX
trap 'wineserver -k 2>/dev/null || true; rm -rf "$WINEPREFIX"' EXIT
wine cmd /c exit # sets the prefix up once (several seconds), before the tests' time limits run

WARNINGS_AS_ERRORS=${WARNINGS_AS_ERRORS:-OFF}
cmake --preset windows -DWARNINGS_AS_ERRORS="$WARNINGS_AS_ERRORS"
cmake --build --preset windows -j"$(nproc)"
ctest --preset windows -j"$(nproc)"

# The Linux tests that run the Windows programs under wine (each makes a prefix of its own).
build=${LINUX_BUILD_DIR:-build-release}
cmake -S . -B "$build" -G Ninja -DWINDOWS_BUILD_DIR="$PWD/build-win" -DWARNINGS_AS_ERRORS="$WARNINGS_AS_ERRORS"
cmake --build "$build" -j"$(nproc)" --target wine_tests wine_cli_tests
ctest --test-dir "$build" --output-on-failure -L wine -j"$(nproc)" # the boot.exe runs one at a time (UDP port 2000)
