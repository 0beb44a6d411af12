#!/bin/sh
# run_corpus.sh good|bad CORPUS WORKDIR COMMAND...
# Compiles every .bas of CORPUS with COMMAND /nologo (txcl, or TXCL.EXE
# through the Wine runner) in a fresh folder. A good source must compile
# with exit code 0 and no output. A bad source must exit with -1 and print
# exactly the error numbers its first line lists ("' expect: 02 13"), in
# that order.
set -u
kind=$1 corpus=$2 workdir=$3
shift 3
fail=0
for src in "$corpus"/*.bas; do
  name=$(basename "$src")
  run=$workdir/corpus_${kind}_$$
  rm -rf "$run" && mkdir -p "$run" || exit 1
  cp "$src" "$run/"
  (cd "$run" && TMP=. "$@" /nologo "$name" >"$run.out")
  rc=$?
  out=$(tr -d '\r' <"$run.out")
  rm -f "$run.out"
  got=$(printf '%s\n' "$out" | LC_ALL=C sed -n 's/.*\[\([0-9?][0-9?]\)\].*/\1/p' | tr '\n' ' ' | sed 's/ $//')
  if [ "$kind" = good ]; then
    if [ "$rc" -ne 0 ] || [ -n "$out" ]; then
      echo "$name: exit $rc, errors: $got"; fail=1
    fi
  else
    want=$(LC_ALL=C sed -n "1s/^' expect: *//p" "$src" | tr -d '\r')
    if [ "$rc" -ne 255 ] || [ "$got" != "$want" ]; then
      echo "$name: exit $rc, errors [$got], expected [$want]"; fail=1
    fi
  fi
  # Only the source and the object may remain: no temporary, no work file.
  left=$(ls -A "$run" | grep -v -e "^$name\$" -e "^${name%.bas}.obj\$")
  if [ -n "$left" ]; then echo "$name: left behind: $left"; fail=1; fi
  rm -rf "$run"
done
exit $fail
