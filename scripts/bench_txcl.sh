#!/usr/bin/env bash
# Times txcl on a generated module of N lines (default 10,000) and prints
# the lines compiled per second. The module mixes the statements the
# compiler chain handles: assignments, expressions, PRINT, IF blocks, loops,
# SELECT CASE, GOSUB, DATA/READ, and SUB and FUNCTION procedures.
#   scripts/bench_txcl.sh [LINES] [RUNS]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
lines=${1:-10000}
runs=${2:-3}
txcl=${TXCL:-$root/build/native/bin/txcl}
[ -x "$txcl" ] || { echo "no txcl at $txcl (make native first)" >&2; exit 2; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
src=$work/BENCH.BAS

# One block of 20 lines per step, procedures at the end.
awk -v lines="$lines" 'BEGIN {
  ORS = "\r\n"
  print "DECLARE SUB STEP1 (A%, B&)"
  print "DECLARE FUNCTION TWICE& (BYVAL N&)"
  n = 2
  for (i = 0; n + 20 <= lines - 12; i++) {
    print "A% = " i " MOD 100: B& = A% * 3 + " i
    print "X! = A% / 7 + B& * 1.5: D# = X! * X! - 2.25"
    print "S$ = \"item\" + STR$(A%) + LEFT$(\"abcdef\", A% MOD 6)"
    print "IF A% > 50 THEN"
    print "  B& = B& - A%"
    print "ELSEIF A% > 20 THEN"
    print "  B& = B& + TWICE&(A%)"
    print "ELSE"
    print "  CALL STEP1(A%, B&)"
    print "END IF"
    print "FOR I% = 1 TO 3: B& = B& + I% * A%: NEXT"
    print "WHILE A% > 0: A% = A% \\ 2: WEND"
    print "SELECT CASE B& MOD 4"
    print "CASE 0: X! = X! + 1"
    print "CASE 1, 2: X! = X! - 1"
    print "CASE ELSE: X! = 0"
    print "END SELECT"
    print "IF LEN(S$) > 40 THEN PRINT S$; B&; X!"
    print "DO: A% = A% + 1: LOOP UNTIL A% >= 3"
    print "D# = D# + SQR(ABS(X!)) + VAL(\"1.5\")"
    n += 20
  }
  for (; n < lines - 12; n++) print "A% = A% + 1"
  print "END"
  print "SUB STEP1 (A%, B&)"
  print "  B& = B& + A% * 2"
  print "  IF B& > 1000 THEN B& = 0"
  print "END SUB"
  print "FUNCTION TWICE& (BYVAL N&)"
  print "  TWICE& = N& * 2"
  print "END FUNCTION"
  print "DATA 1, 2, 3"
  print "READ A%, B&, I%"
  print "PRINT A%; B&; I%"
  print "END"
}' > "$src"

count=$(wc -l < "$src")
cd "$work"
"$txcl" /nologo BENCH.BAS > compile.log 2>&1 || { iconv -f CP932 -t UTF-8 compile.log >&2; exit 1; }
best=0
for ((r = 0; r < runs; r++)); do
  start=$(date +%s%N)
  "$txcl" /nologo BENCH.BAS > /dev/null 2>&1
  t=$(($(date +%s%N) - start))
  if [ "$best" = 0 ] || [ "$t" -lt "$best" ]; then best=$t; fi
done
ls -l BENCH.obj | awk '{ printf "object: %d bytes\n", $5 }'
awk -v n="$count" -v ns="$best" -v runs="$runs" 'BEGIN {
  printf "txcl: %d lines in %.3f s (best of %d): %.0f lines per second\n", n, ns / 1e9, runs, n / (ns / 1e9)
}'
