#!/usr/bin/env bash
# Builds the fuzz targets of tests/fuzz (clang, libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer) in build-fuzz/ and runs them under a private Xvfb.
#
#   scripts/run-fuzz.sh [short]   each target over its seeds and the saved fault inputs, then
#                                 a bounded run of KOVO_FUZZ_SECONDS (default 4) each, two at
#                                 a time: the test command's step
#   scripts/run-fuzz.sh long      every target at once, each until KOVO_FUZZ_RUNS inputs
#                                 (default 1000000) or KOVO_FUZZ_SECONDS (default 3600); the
#                                 corpora grow in build-fuzz/corpus/ from one run to the next
#
# A fault stops its target; the input that caused it is left in build-fuzz/ as crash-*,
# timeout-* or oom-* and the script ends with status 1. Logs: build-fuzz/logs/.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
mode=${1:-short}
case "$mode" in
  short) seconds=${KOVO_FUZZ_SECONDS:-4}; runs=-1; parallel=${KOVO_FUZZ_JOBS:-2} ;;
  long) seconds=${KOVO_FUZZ_SECONDS:-3600}; runs=${KOVO_FUZZ_RUNS:-1000000}; parallel=0 ;;
  *) echo "usage: $0 [short|long]" >&2; exit 2 ;;
esac

scripts/setup.sh
# KOVO_FUZZ_DIR: another build folder, so that a short run can go on beside a long one.
fuzz=$root/${KOVO_FUZZ_DIR:-build-fuzz}
cmake -S . -B "$fuzz" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=Release -DKOVO_FUZZ=ON >/dev/null
cmake --build "$fuzz" -j"$(nproc)" --target fuzz_all >"$fuzz/build.log" 2>&1 ||
  { tail -n 40 "$fuzz/build.log" >&2; exit 1; }

targets=(fuzz_pcx fuzz_bmp fuzz_jpg fuzz_wav fuzz_ogg fuzz_level fuzz_save fuzz_scores fuzz_save_index
         fuzz_config)
data=$fuzz/data
rm -rf "$fuzz/work" "$fuzz/seeds" "$fuzz/logs"
mkdir -p "$fuzz/logs"

. scripts/xvfb.sh
start_xvfb >/dev/null
export ALSOFT_DRIVERS=null
export LIBGL_ALWAYS_SOFTWARE=1
export SDL_VIDEODRIVER=x11
export ASAN_OPTIONS=detect_leaks=1:halt_on_error=1
export LSAN_OPTIONS=suppressions=$root/scripts/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

# The smallest files of a kind as seeds: small inputs are what a fuzzer mutates best.
smallest() {
  local pattern=$1 count=$2
  # shellcheck disable=SC2012
  ls -S "$data"/$pattern | tail -n "$count"
}

for t in "${targets[@]}"; do
  work=$fuzz/work/$t
  seeds=$fuzz/seeds/$t
  mkdir -p "$work" "$seeds"
  cp -rs "$data"/. "$work"/
  # The game in a window; every chapter's level music swapped for a one-second one, since
  # every level read decodes its music whole and ten seconds of it would slow each input down
  # tenfold.
  printf '0 1 1 1 \n' >"$work/config.dat"
  for chapter in 1 2 3 4 5; do ln -sf "$data/test_stereo.ogg" "$work/level$chapter.ogg"; done
  case "$t" in
    fuzz_pcx) cp $(smallest '*.pcx' 40) "$seeds"/ ;;
    fuzz_bmp) cp $(smallest '*.bmp' 20) "$seeds"/ ;;
    fuzz_jpg) cp $(smallest '*.jpg' 20) "$seeds"/ ;;
    fuzz_wav) cp $(smallest '*.wav' 10) "$seeds"/ ;;
    fuzz_ogg) cp "$data/test_mono.ogg" "$data/test_stereo.ogg" "$seeds"/ ;;
    fuzz_level) cp "$data"/level*.xml "$seeds"/ ;;
  esac
done

# The targets whose seeds the game writes itself (saves, score tables, the slot index, the
# options) make them at start-up, in a run of no inputs.
for t in fuzz_save fuzz_scores fuzz_save_index fuzz_config; do
  (cd "$fuzz/work/$t" && KOVO_FUZZ_SEED_DIR=$fuzz/seeds/$t "$fuzz/tests/fuzz/$t" -runs=0 \
     >"$fuzz/logs/$t.seeds.log" 2>&1) || { echo "$t: making its seeds failed" >&2; tail -n 30 "$fuzz/logs/$t.seeds.log" >&2; exit 1; }
done

run_target() {
  local t=$1 corpus
  if [ "$mode" = long ]; then corpus=$fuzz/corpus/$t; else corpus=$fuzz/corpus-short/$t; rm -rf "$corpus"; fi
  mkdir -p "$corpus"
  local faults=$root/tests/fuzz/faults/$t
  local dirs=("$corpus" "$fuzz/seeds/$t")
  [ -d "$faults" ] && dirs+=("$faults")
  local began=$SECONDS status=0
  (cd "$fuzz/work/$t" && "$fuzz/tests/fuzz/$t" -runs="$runs" -max_total_time="$seconds" -timeout=20 \
     -rss_limit_mb=2048 -malloc_limit_mb=1024 -print_final_stats=1 -artifact_prefix="$fuzz/$t-" \
     "${dirs[@]}" >"$fuzz/logs/$t.log" 2>&1) || status=1
  echo "$status $((SECONDS - began))" >"$fuzz/logs/$t.status"
}

# Xvfb is a job of this shell too: only the targets' own jobs are counted and waited for.
running=()
for t in "${targets[@]}"; do
  while [ "$parallel" -gt 0 ] && [ ${#running[@]} -ge "$parallel" ]; do
    wait -n "${running[@]}" || true
    still=()
    for pid in "${running[@]}"; do kill -0 "$pid" 2>/dev/null && still+=("$pid"); done
    running=("${still[@]}")
  done
  run_target "$t" &
  running+=($!)
done
for pid in "${running[@]}"; do wait "$pid" || true; done

echo "== Fuzzing ($mode)"
failed=()
for t in "${targets[@]}"; do
  read -r status took <"$fuzz/logs/$t.status"
  units=$(sed -n 's/^stat::number_of_executed_units: *//p' "$fuzz/logs/$t.log" | tail -n1)
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$fuzz/logs/$t.log" | tail -n1)
  printf '%-16s %s  %10s inputs in %5s s, %6s a second\n' "$t" "$([ "$status" = 0 ] && echo ok || echo FAULT)" \
    "${units:-?}" "$took" "${rate:-?}"
  [ "$status" = 0 ] || failed+=("$t")
done
for t in "${failed[@]}"; do
  echo "== $t:" >&2
  grep -E 'ERROR|SUMMARY|runtime error|Test unit written|Base64' "$fuzz/logs/$t.log" | head -n 20 >&2 || tail -n 40 "$fuzz/logs/$t.log" >&2
done
echo "Fuzzing: $(( ${#targets[@]} - ${#failed[@]} )) passed, ${#failed[@]} failed"
[ ${#failed[@]} -eq 0 ]
