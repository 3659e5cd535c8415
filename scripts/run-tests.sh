#!/usr/bin/env bash
# Sets up, builds (plain and with AddressSanitizer + UndefinedBehaviorSanitizer),
# generates the game data and runs every test program on a private Xvfb of its own with silent
# OpenAL.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
jobs=$(nproc)

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKOVO_WERROR=ON
cmake --build build -j"$jobs"
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DKOVO_SANITIZE=ON -DKOVO_WERROR=ON
cmake --build build-asan -j"$jobs"

# Each test program starts its own display (scripts/own-display.sh, run by ctest).
export ALSOFT_DRIVERS=null
export LIBGL_ALWAYS_SOFTWARE=1
# Only the X11 driver: a refused connection must fail loudly, not fall back to an offscreen one.
export SDL_VIDEODRIVER=x11
export ASAN_OPTIONS=detect_leaks=1:halt_on_error=1
export LSAN_OPTIONS=suppressions=$PWD/scripts/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

# The player's files beside the game are no test's business: the run must leave them as
# they were.
. scripts/player-files.sh
before=$(player_files)

echo "== Tests (plain build)"
ctest --test-dir build -j"$jobs" --output-on-failure
echo "== Tests (sanitizer build)"
ctest --test-dir build-asan -j"$jobs" --output-on-failure

if [ "$(player_files)" != "$before" ]; then
  echo "The tests changed the player's files in build/data" >&2
  exit 1
fi
scripts/run-fuzz.sh short
