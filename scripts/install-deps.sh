#!/usr/bin/env bash
# Installs the Debian 12 packages that building, testing and fuzzing Lanthor need. Only what is
# missing is installed, so a second run changes nothing and needs no network.
set -euo pipefail

packages=(
    cmake ninja-build g++ python3
    libgtest-dev libbenchmark-dev
    # Fuzz targets and the formatting check.
    clang libclang-rt-14-dev clang-format
    # The desktop front end.
    qt6-base-dev qt6-svg-dev libgl-dev
    # The check of the installed menu entry.
    desktop-file-utils
    # Fonts with fixed metrics, for the tests that measure text.
    fonts-liberation2 fonts-urw-base35
    # A peer CSV parser that the benchmarks compare against.
    libcsv-dev
)

missing=()
for package in "${packages[@]}"; do
    if [[ "$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null)" != "install ok installed" ]]; then
        missing+=("$package")
    fi
done

if ((${#missing[@]} == 0)); then
    echo "install-deps: all ${#packages[@]} packages are installed"
    exit 0
fi

echo "install-deps: installing ${missing[*]}"
apt=(env DEBIAN_FRONTEND=noninteractive apt-get)
if ((EUID != 0)); then
    apt=(sudo "${apt[@]}")
fi
"${apt[@]}" update -q
"${apt[@]}" install -y -q --no-install-recommends "${missing[@]}"
