#!/usr/bin/env bash
# Installs what the Windows cross build and its Wine tests need, when it is missing:
# the mingw-w64 cross compilers (posix threads), dlltool, GoogleTest sources, and Wine
# (64-bit and, through the i386 architecture, 32-bit).
# Usage: scripts/setup-windows.sh
set -euo pipefail

packages=(
    cmake ninja-build
    g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix mingw-w64-tools binutils-mingw-w64
    googletest
    wine64 wine wine32:i386
)

installed() {
    dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'
}

missing=()
for p in "${packages[@]}"; do
    installed "$p" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
export DEBIAN_FRONTEND=noninteractive
if ! dpkg --print-foreign-architectures | grep -qx i386; then
    echo "setup-windows: adding the i386 architecture (for 32-bit Wine)"
    "${sudo[@]}" dpkg --add-architecture i386
fi
echo "setup-windows: installing ${missing[*]}"
"${sudo[@]}" apt-get update -q
"${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
