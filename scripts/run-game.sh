#!/usr/bin/env bash
# Sets up, builds, generates the game data and starts the game in its data folder.
# Without a display the game runs under a private Xvfb, which is stopped when the game ends.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$(nproc)"
cd build/data
if [ -z "${DISPLAY:-}" ]; then
  . ../../scripts/xvfb.sh
  start_xvfb
  echo "No display: the game runs under Xvfb ($DISPLAY)."
  # Not exec: this shell must live on so that its exit trap stops Xvfb after the game.
  status=0
  ../kovo || status=$?
  exit "$status"
fi
exec ../kovo
