#!/usr/bin/env bash
# make demo: runs the compiler driver on the bundled examples and shows what
# it prints. Its console output is Shift-JIS; iconv shows it here as UTF-8.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
txcl=$root/build/native/bin/txcl
work=$root/build/demo
rm -rf "$work" && mkdir -p "$work" && cd "$work" || exit 1

run() {
  echo "\$ txcl $*"
  "$txcl" "$@" | iconv -f CP932 -t UTF-8
  echo "(exit code ${PIPESTATUS[0]})"
  echo
}

run '/?'
for src in "$root"/examples/*.bas; do
  cp "$src" .
  name=$(basename "$src")
  # The options a project build passes, with /TMP: the parameter block the
  # passes receive, and the temporary files kept under their fixed names.
  run /TMP /nologo /MW /CLe '/S?' /Zi /Fs "$name"
  run "$name"
done
run /nologo missing.bas
echo "files in $work:"
ls "$work"
