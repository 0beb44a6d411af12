#!/usr/bin/env bash
# build-progress.sh TREE JOBS [cmake option ...]: configures and builds
# build/TREE, showing a line per stage and the build's own percentage
# instead of the compiler's output. The whole output goes to
# build/TREE-build.log, which is printed only when a stage fails.
# On a terminal the percentage is one line rewritten in place; elsewhere
# (a pipe, a CI log) a line is printed at every twentieth of the build, and
# at least every half minute while it goes on.
set -uo pipefail
[ $# -ge 2 ] || { echo "usage: build-progress.sh TREE JOBS [cmake option ...]" >&2; exit 2; }
tree=$1 jobs=$2
shift 2
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root" || exit 1
mkdir -p build
log=build/$tree-build.log
: >"$log"
start=$SECONDS
tty=0
[ -t 1 ] && tty=1

elapsed() { printf '%dm%02ds' $(((SECONDS - start) / 60)) $(((SECONDS - start) % 60)); }

failed() {
  [ $tty = 1 ] && printf '\n'
  echo "$tree: $1 failed after $(elapsed); the log ($log) follows"
  cat "$log"
  echo "$tree: $1 failed; the log is in $log"
  exit 1
}

echo "$tree: configuring build/$tree (log: $log)"
cmake -S . -B "build/$tree" "$@" >>"$log" 2>&1 || failed configuring

echo "$tree: building with $jobs jobs"
# The percentage is the build's own: "[ 42%]" from make, "[12/345]" from
# ninja. A line without one (a warning, a linker message) only goes to the log.
last=-1 shown=$SECONDS
width=$(tput cols 2>/dev/null || echo 80)
cmake --build "build/$tree" -j "$jobs" 2>&1 | tee -a "$log" | while IFS= read -r line; do
  pct=
  if [[ $line =~ ^\[\ *([0-9]+)%\]\ (.*) ]]; then
    pct=${BASH_REMATCH[1]} what=${BASH_REMATCH[2]}
  elif [[ $line =~ ^\[([0-9]+)/([0-9]+)\]\ (.*) ]]; then
    pct=$((BASH_REMATCH[1] * 100 / BASH_REMATCH[2])) what=${BASH_REMATCH[3]}
  fi
  [ -n "$pct" ] || continue
  if [ $tty = 1 ]; then
    status=$(printf '%s [%3d%%] %s' "$tree" "$pct" "$what")
    printf '\r\033[K%s' "${status:0:$((width - 1))}"
  elif [ $((pct / 5)) -gt $((last / 5)) ] || [ "$last" -lt 0 ] || [ $((SECONDS - shown)) -ge 30 ]; then
    printf '%s [%3d%%] %s\n' "$tree" "$pct" "$what"
    last=$pct shown=$SECONDS
  fi
done
[ "${PIPESTATUS[0]}" = 0 ] || failed building
[ $tty = 1 ] && printf '\r\033[K'
echo "$tree: built in $(elapsed)"
