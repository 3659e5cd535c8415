#!/usr/bin/env bash
# Installs the Debian packages the game and its tests need, when any is missing.
set -euo pipefail
packages=(cmake g++ make pkg-config libgtest-dev
          libsdl1.2-compat-dev libgl-dev libglu1-mesa-dev
          libopenal-dev libalut-dev libjpeg62-turbo-dev libvorbis-dev
          libxdamage-dev xvfb xauth
          clang libclang-rt-dev valgrind)
missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO=sudo
  $SUDO apt-get update
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
fi
