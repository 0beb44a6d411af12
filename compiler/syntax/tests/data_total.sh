#!/bin/sh
# data_total.sh WORKDIR TXCL: three DOUBLE arrays of 16001 x 16001 elements
# fit one by one but not together. txcl must stop with error 22 at once,
# allocating none of them (its address space is capped far below their
# size) and writing no object.
set -u
run=$1/data_total_$$
rm -rf "$run" && mkdir -p "$run" || exit 1
printf 'DIM A#(16000, 16000)\r\nDIM B#(16000, 16000)\r\nDIM C#(16000, 16000)\r\n' >"$run/DIMS.BAS"
start=$(date +%s%N)
# Under AddressSanitizer (make sanitize) the cap cannot be set: its shadow
# memory reserves terabytes of address space; the sanitizer reports any
# allocation that large itself.
cap=1048576
grep -qa __asan_init "$2" && cap=unlimited
out=$(cd "$run" && ulimit -v $cap && TMP=. timeout 10 "$2" /nologo DIMS.BAS)
rc=$?
ms=$(( ($(date +%s%N) - start) / 1000000 ))
fail=0
[ "$rc" -eq 255 ] || { echo "exit $rc, expected 255"; fail=1; }
case "$out" in 22*) ;; *) echo "output: $out"; fail=1 ;; esac
[ "$ms" -lt 1000 ] || { echo "took $ms ms"; fail=1; }
left=$(ls -A "$run" | grep -v '^DIMS.BAS$')
[ -z "$left" ] || { echo "left behind: $left"; fail=1; }
rm -rf "$run"
exit $fail
