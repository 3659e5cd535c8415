#!/usr/bin/env bash
# Sets up, builds (plain, optimised), generates the game data and runs the benchmark under a
# private Xvfb with silent OpenAL, in a working folder of its own that links the generated
# data (none of the player's files).
# Arguments go to the benchmark: [--frames N] [--startups N] [LEVEL_FILE...].
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$(nproc)"

run=build/bench-run
rm -rf "$run"
mkdir -p "$run"
cp -rs "$PWD/build/generated/." "$run/"
# A window (not full screen), the score box, music and sound effects: the game as played.
echo "0 1 1 1" > "$run/config.dat"

. scripts/xvfb.sh
start_xvfb
export ALSOFT_DRIVERS=null
export LIBGL_ALWAYS_SOFTWARE=1
export SDL_VIDEODRIVER=x11
cd "$run"
status=0
../bench/kovo_bench "$@" || status=$?
exit "$status"
