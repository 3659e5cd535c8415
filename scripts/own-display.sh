#!/usr/bin/env bash
# own-display.sh PROGRAM [ARGS...]: runs one test program on a display of its own, a private
# Xvfb that it shares with no other program (its windows, pointer and input focus cannot reach
# another's events), stopped when the program ends. Exits with the program's status.
set -euo pipefail
. "$(dirname "$0")/xvfb.sh"
start_xvfb >/dev/null
# Mesa's software renderer draws on the program's own thread: its helper threads, one per
# core in every program running at once, only fight over the cores.
export LP_NUM_THREADS=0
status=0
"$@" || status=$?
exit "$status"
