#!/usr/bin/env bash
# Sets up, builds (plain and with AddressSanitizer + UndefinedBehaviorSanitizer),
# generates the game data and runs every test under a private Xvfb with silent OpenAL.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
jobs=$(nproc)

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKOVO_WERROR=ON
cmake --build build -j"$jobs"
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DKOVO_SANITIZE=ON -DKOVO_WERROR=ON
cmake --build build-asan -j"$jobs"

. scripts/xvfb.sh
start_xvfb
export ALSOFT_DRIVERS=null
export LIBGL_ALWAYS_SOFTWARE=1
# Only the X11 driver: a refused connection must fail loudly, not fall back to an offscreen one.
export SDL_VIDEODRIVER=x11
export ASAN_OPTIONS=detect_leaks=1:halt_on_error=1
export LSAN_OPTIONS=suppressions=$PWD/scripts/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

echo "== Tests (plain build)"
ctest --test-dir build -j"$jobs" --output-on-failure
echo "== Tests (sanitizer build)"
ctest --test-dir build-asan -j"$jobs" --output-on-failure
scripts/run-fuzz.sh short
