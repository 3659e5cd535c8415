#!/usr/bin/env bash
# Sets up, builds, generates the game data and starts the game in its data folder.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$(nproc)"
if [ ! -x build/kovo ]; then
  echo "The game's entry point is not built yet; the engine and its tests are: run scripts/run-tests.sh."
  echo "Game data was generated into build/data."
  exit 0
fi
cd build/data
if [ -z "${DISPLAY:-}" ]; then
  . ../../scripts/xvfb.sh
  start_xvfb
  echo "No display: the game runs under Xvfb ($DISPLAY)."
fi
exec ../kovo
