#!/usr/bin/env bash
# Installs the Debian 12 packages Quillet needs to build, run and test, and
# configures the build folder given as $1 with the CMake options that follow.
# Quick when everything is already there.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(build-essential cmake ninja-build qt6-base-dev libgtest-dev libgmock-dev libbenchmark-dev
    fonts-dejavu-core xvfb xauth x11-utils xdotool imagemagick poppler-utils libqt6svg6 libxcb1-dev
    desktop-file-utils appstream clang-format openbox)
# Callers needing more (the fuzz build: clang) name them here.
read -r -a extra <<<"${QUILLET_EXTRA_PACKAGES:-}"
packages+=("${extra[@]}")
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    echo "Installing: ${missing[*]}"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get -o DPkg::Lock::Timeout=600 install -y --no-install-recommends "${missing[@]}"
fi

build_dir=${1:-build}
shift || true
# A compiler cache, where one is installed, makes rebuilds of other checkouts quick.
launcher=()
if command -v ccache >/dev/null 2>&1; then
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
if [ ! -f "$build_dir/build.ninja" ]; then
    cmake -S . -B "$build_dir" -G Ninja "${launcher[@]}" "$@"
else
    cmake "$build_dir" "$@" >/dev/null
fi
