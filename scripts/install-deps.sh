#!/usr/bin/env bash
# Installs every Debian package that building, running and testing Tessavine needs.
# Idempotent: when everything is already there it only checks and returns.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config git
    qt6-base-dev qt6-base-dev-tools libqt6svg6 qt6-image-formats-plugins
    libgl-dev libvulkan-dev
    libsqlite3-dev sqlite3
    libxlsxwriter-dev unzip
    wamerican
    fonts-liberation
    clang clang-format libclang-rt-dev
    xvfb xauth xdotool x11-utils imagemagick
    xdg-utils
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

echo "Installing: ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
    sudo_cmd=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
