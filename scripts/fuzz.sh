#!/usr/bin/env bash
# make fuzz: builds the fuzz programs with clang (libFuzzer, AddressSanitizer,
# UndefinedBehaviorSanitizer) in build/fuzz and runs each for FUZZ_TIME
# seconds, FUZZ_JOBS at a time, from its seeds and what earlier runs added
# (build/fuzz/corpus/<name>). A failing input is kept in
# build/fuzz/crashes/<name>/; copy it into the target's seed folder once
# mended, so make test replays it. FUZZ_TARGETS names a subset.
set -euo pipefail
cd "$(dirname "$0")/.."
FUZZ_TIME=${FUZZ_TIME:-60}
FUZZ_JOBS=${FUZZ_JOBS:-2}
B=$PWD/build/fuzz
command -v clang++ >/dev/null || { echo "make fuzz needs clang (libFuzzer): apt-get install clang"; exit 1; }
flags="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"
CC=clang CXX=clang++ cmake -S . -B $B -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTX_FUZZ=ON \
  -DCMAKE_C_FLAGS="$flags" -DCMAKE_CXX_FLAGS="$flags" \
  -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" >/dev/null
mapfile -t lines < $B/fuzz_targets.txt
names=()
for l in "${lines[@]}"; do
  n=${l%% *}
  if [ -z "${FUZZ_TARGETS:-}" ] || [[ " $FUZZ_TARGETS " == *" $n "* ]]; then names+=("$n"); fi
done
cmake --build $B -j "${JOBS:-$(nproc)}" --target "${names[@]}"

run_one() {  # name seeds
  local n=$1 seeds=$2  # seed folders, blank separated
  mkdir -p $B/corpus/$n $B/crashes/$n $B/work/$n
  rm -f $B/crashes/$n/*
  # -rss_limit_mb: a reader that allocates what a damaged size asks for is a fault.
  # Scratch files of the entries go to the program's own folder.
  cd $B/work/$n
  nice $B/bin/$n -max_total_time="$FUZZ_TIME" -timeout=25 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix=$B/crashes/$n/ $B/corpus/$n $seeds >$B/$n.log 2>&1 || true
}
for l in "${lines[@]}"; do
  n=${l%% *}
  [[ " ${names[*]} " == *" $n "* ]] || continue
  while [ "$(jobs -rp | wc -l)" -ge "$FUZZ_JOBS" ]; do wait -n || true; done
  run_one "$n" "${l#* }" &
done
wait

status=0
printf '%-20s %12s %8s  %s\n' target executions seconds found
for n in "${names[@]}"; do
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' $B/$n.log | tail -1)
  # A run stops at its first failing input: the seconds it lasted.
  secs=$(sed -n 's/^Done [0-9]* runs in \([0-9]*\) second.*/\1/p' $B/$n.log | tail -1)
  # slow-unit-* files only note an input that took long: not failures.
  found=$(find $B/crashes/$n -type f ! -name 'slow-unit-*' | wc -l)
  printf '%-20s %12s %8s  %s\n' "$n" "${execs:-?}" "${secs:-stopped}" "$found"
  if [ "$found" -ne 0 ] || [ -z "$execs" ]; then status=1; echo "  see $B/$n.log and $B/crashes/$n/"; fi
done
exit $status
