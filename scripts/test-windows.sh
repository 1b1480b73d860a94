#!/usr/bin/env bash
# Builds the Windows binaries with mingw-w64 (presets win32 and win64, each in build-<preset>/
# with its own dist/; the terminals need Qt for Windows and are left out) and runs their tests
# under Wine: the export tables, the 32-bit stack use of every export, a C caller of KXPrintIF,
# the card layer through the reader DLLs, and the unit tests whose code has Windows branches.
# Usage: scripts/test-windows.sh [win32|win64 ...]   (default: both)
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup-windows.sh

presets=("$@")
[ ${#presets[@]} -gt 0 ] || presets=(win32 win64)

for preset in "${presets[@]}"; do
    echo "== $preset: configure and build"
    cmake --preset "$preset" >/dev/null
    timeout 1800 cmake --build --preset "$preset" -j2

    echo "== $preset: tests under Wine"
    # The prefix the tests use, booted before they start and stopped whatever happens.
    export WINEPREFIX="$PWD/build-$preset/wine"
    trap 'wineserver -k 2>/dev/null || true' EXIT
    timeout 300 cmake/toolchains/wine-run.sh "$WINEPREFIX" wineboot
    timeout 900 ctest --preset "$preset" -j2
    wineserver -k 2>/dev/null || true
    trap - EXIT
done
