#!/usr/bin/env bash
# Builds the installation's KXD103 with KX_READER_KXD103=pcsc, in a build folder of its own, and
# checks that dist/LibaryDir then holds the PC/SC library and the simulated one went elsewhere.
# Usage: sdk/pcscreader/check-reader-option.sh [build-folder]   (default build-pcsc)
set -euo pipefail
cd "$(dirname "$0")/../.."
folder=${1:-build-pcsc}
cmake -S . -B "$folder" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DKX_READER_KXD103=pcsc -DKX_BUILD_GUI=OFF -DKX_BUILD_TESTS=OFF >/dev/null
cmake --build "$folder" --target kx_pcsc_kxd103 kx_simreader_KXD103
installed="$folder/dist/LibaryDir/KXD103.so"
if ! ldd "$installed" | grep -q libpcsclite; then
    echo "check-reader-option: $installed is not the PC/SC library" >&2
    exit 1
fi
echo "check-reader-option: $installed is the PC/SC KXD103"
