#!/usr/bin/env bash
# Installs the Debian 12 packages that the build and the tests need, when they are missing.
# Usage: scripts/setup.sh [extra-package ...]
set -euo pipefail

packages=(
    cmake ninja-build g++ pkg-config git
    qt6-base-dev libgl-dev libfontconfig-dev
    libgtest-dev libgmock-dev libbenchmark-dev libssl-dev
    clang libclang-rt-14-dev
    xvfb xauth imagemagick xdotool fonts-arphic-uming python3-fonttools
    pcscd libpcsclite-dev vsmartcard-vpcd pcsc-tools systemd iproute2 util-linux
    "$@"
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "setup: installing ${missing[*]}"
sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -q
"${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
