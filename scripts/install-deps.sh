#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the tests and the screenshots need.
# Idempotent and non-interactive: only what is missing is installed.
set -euo pipefail

packages=(
    cmake ninja-build g++-12 pkg-config
    qt6-base-dev qt6-multimedia-dev
    libgtest-dev googletest libbenchmark-dev
    libcurl4-openssl-dev libpng-dev libjpeg-dev libopenjp2-7-dev libopenjp2-tools
    libftdi1-dev
    fonts-liberation2
    xvfb xauth xdotool imagemagick libx11-dev
    binutils clang libclang-rt-14-dev
    dpkg-dev file lintian desktop-file-utils groff-base
    chromium
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
echo "Installing: ${missing[*]}"
$sudo env DEBIAN_FRONTEND=noninteractive apt-get update -qq
$sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
