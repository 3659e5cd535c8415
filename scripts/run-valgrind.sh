#!/usr/bin/env bash
# A scripted play session of the plain build under valgrind's memcheck: the game started,
# a level played with a few actions (a hint put away, a walk, a jump, treasure and shoes taken,
# a thug asleep), Escape to the menu and a save, the program ended and started anew, the save
# loaded, saved again and played on, the program ended. It is the saved-game test of the game
# program, run alone. Any invalid read or write, use of an uninitialised value or leak fails
# it; scripts/valgrind.supp holds what lies in the system's own libraries. Several minutes.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
scripts/setup.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKOVO_WERROR=ON >/dev/null
cmake --build build -j"$(nproc)" --target test_Application

run=$root/build/run/valgrind_session
rm -rf "$run"
mkdir -p "$run"
# Built from the generated data alone, as the test programs' folders are: the player's
# options, scores, saves and log in build/data never reach the session, nor does it write
# through a link over them.
cp -rs "$root/build/generated/." "$run/"
. scripts/player-files.sh
before=$(player_files)

. scripts/xvfb.sh
start_xvfb
export ALSOFT_DRIVERS=null
export LIBGL_ALWAYS_SOFTWARE=1
export SDL_VIDEODRIVER=x11
# No session bus: without it SDL's desktop hooks give up at once instead of starting one.
export DBUS_SESSION_BUS_ADDRESS=disabled:

cd "$run"
status=0
valgrind --error-exitcode=99 --suppressions="$root/scripts/valgrind.supp" --child-silent-after-fork=yes \
  --leak-check=full --show-leak-kinds=definite,indirect,possible \
  --errors-for-leak-kinds=definite,indirect,possible --track-origins=yes --num-callers=40 \
  "$root/build/tests/test_Application" --gtest_color=no \
  --gtest_filter='SaveGameTest.ALevelInFullSwingSavedLoadedInANewRunAndSavedAgainIsTheSameFile' \
  >"$run/valgrind.log" 2>&1 || status=$?
grep -E '^\[ *(OK|FAILED|PASSED) *\]|ERROR SUMMARY|definitely lost|indirectly lost|possibly lost' "$run/valgrind.log" || true
cd "$root"
if [ "$(player_files)" != "$before" ]; then
  echo "The valgrind session changed the player's files in build/data" >&2
  exit 1
fi
echo "player's files in build/data: unchanged"
if [ "$status" -ne 0 ]; then
  echo "valgrind session failed ($status); the report is in $run/valgrind.log" >&2
  exit 1
fi
echo "valgrind session: clean"
