#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the program need, if any is missing.
set -euo pipefail
packages=(
  cmake g++ make pkg-config
  qt6-base-dev libqt6opengl6-dev libglu1-mesa-dev libgl1-mesa-dri
  liblcms2-dev libgtest-dev
  xvfb xauth fonts-liberation xdotool x11-apps imagemagick
  libgs-common icc-profiles-free
  desktop-file-utils appstream
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"
sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
"${sudo_cmd[@]}" apt-get update
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y "${missing[@]}"
