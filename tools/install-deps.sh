#!/usr/bin/env bash
# Installs what the build and the tests need on a Debian machine (as root, or through sudo).
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config git python3
    clang libclang-rt-dev clang-format clang-tidy
    libgtest-dev libgmock-dev
    qt6-base-dev qt6-serialport-dev libgl-dev
    xvfb xauth
    curl tftp-hpa
    libreoffice-calc-nogui
    libpugixml-dev
    dpkg-dev file lintian desktop-file-utils appstream mandoc
    g++-mingw-w64-x86-64-posix googletest wine wine64
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
