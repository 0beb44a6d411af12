#!/usr/bin/env bash
# Times txcl on a generated module of N lines and, in the same run, tcc on
# the equivalent C file; prints the time of each (best of RUNS runs), the
# ratio txcl/tcc, lines per second and the peak memory of each. Three shapes
# of module:
#   mixed  the statements the compiler chain handles: assignments,
#          expressions, PRINT, IF blocks, loops, SELECT CASE, DATA/READ, and
#          SUB and FUNCTION procedures
#   main   one long main module: assignments, INT and DOUBLE arithmetic,
#          one-line IFs and FOR loops, PRINT of two values; no procedures
#   procs  many small SUB and FUNCTION procedures, each called once
# Without LINES it measures 10,000 and 60,000 lines, without SHAPES all three.
#   scripts/bench_txcl.sh [LINES] [RUNS] [SHAPES]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
sizes=${1:-"10000 60000"}
runs=${2:-5}
shapes=${3:-"mixed main procs"}
txcl=${TXCL:-$root/build/native/bin/txcl}
tcc=${TCC:-$(command -v tcc || true)}
[ -x "$txcl" ] || { echo "no txcl at $txcl (make native first)" >&2; exit 2; }
[ -n "$tcc" ] || echo "no tcc (scripts/setup.sh installs it): txcl alone" >&2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# One block of 20 lines per step, procedures at the end.
mixed_basic() {
awk -v lines="$1" 'BEGIN {
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
}'
}

# The same program line for line in C, over the runtime calls a BASIC
# program makes (strings, printing, DATA), declared here as the module's
# DECLAREs are.
mixed_c() {
awk -v lines="$1" 'BEGIN {
  print "typedef struct str str;"
  print "str *s_lit(const char *); str *s_cat(str *, str *); str *s_num(long);"
  print "str *s_left(str *, int); int s_len(str *); double s_val(str *);"
  print "void s_let(str **, str *); void p_str(str *); void p_long(long);"
  print "void p_float(float); void p_end(void); void stop(void);"
  print "long read_long(void); double sqrt(double);"
  print "static const long data_[] = {1, 2, 3};"
  print "void step1(short *a, long *b);"
  print "long twice(long n);"
  print "short a; long b, i_; float x; double d; str *s;"
  print "int main(void) {"
  n = 12
  for (i = 0; n + 20 <= lines - 12; i++) {
    print "a = " i " % 100; b = a * 3 + " i ";"
    print "x = a / 7.0f + b * 1.5f; d = (double)x * x - 2.25;"
    print "s_let(&s, s_cat(s_cat(s_lit(\"item\"), s_num(a)), s_left(s_lit(\"abcdef\"), a % 6)));"
    print "if (a > 50) {"
    print "  b = b - a;"
    print "} else if (a > 20) {"
    print "  b = b + twice(a);"
    print "} else {"
    print "  step1(&a, &b);"
    print "}"
    print "for (short i = 1; i <= 3; i++) { b = b + i * a; }"
    print "while (a > 0) { a = a / 2; }"
    print "switch (b % 4) {"
    print "case 0: x = x + 1; break;"
    print "case 1: case 2: x = x - 1; break;"
    print "default: x = 0;"
    print "}"
    print "if (s_len(s) > 40) { p_str(s); p_long(b); p_float(x); p_end(); }"
    print "do { a = a + 1; } while (!(a >= 3));"
    print "d = d + sqrt(x < 0 ? -x : x) + s_val(s_lit(\"1.5\"));"
    n += 20
  }
  for (; n < lines - 12; n++) print "a = a + 1;"
  print "stop(); return 0; }"
  print "void step1(short *a, long *b) {"
  print "  *b = *b + *a * 2;"
  print "  if (*b > 1000) *b = 0;"
  print "}"
  print "long twice(long n) {"
  print "  return n * 2;"
  print "}"
  print "void read_data(void) { a = data_[0]; b = data_[1]; i_ = data_[2];"
  print "  p_long(a); p_long(b); p_long(i_); p_end(); }"
}'
}

# One block of 5 lines per step in one main module.
main_basic() {
awk -v lines="$1" 'BEGIN {
  ORS = "\r\n"
  for (i = 0; (i + 1) * 5 < lines; i++) {
    print "A% = " i " MOD 100 + B%"
    print "D# = D# * 1.5 + A% / 7"
    print "IF A% > 50 THEN B% = B% - A% ELSE B% = B% + 1"
    print "FOR I% = 1 TO 3: A% = A% + I%: NEXT I%"
    print "PRINT A%; D#"
  }
  print "END"
}'
}

main_c() {
awk -v lines="$1" 'BEGIN {
  print "void p_int(short); void p_double(double); void p_end(void);"
  print "short a, b, i_; double d;"
  print "int main(void) {"
  for (i = 0; (i + 1) * 5 < lines - 4; i++) {
    print "a = " i " % 100 + b;"
    print "d = d * 1.5 + a / 7.0;"
    print "if (a > 50) b = b - a; else b = b + 1;"
    print "for (i_ = 1; i_ <= 3; i_++) { a = a + i_; }"
    print "p_int(a); p_double(d); p_end();"
  }
  print "return 0; }"
}'
}

# Per step a SUB and a FUNCTION that calls it (13 lines with their DECLAREs
# and the call from the main module).
procs_basic() {
awk -v lines="$1" 'BEGIN {
  ORS = "\r\n"
  n = int((lines - 3) / 13)
  for (i = 1; i <= n; i++) {
    print "DECLARE SUB P" i " (A%, B#)"
    print "DECLARE FUNCTION F" i "# (A%, B#)"
  }
  print "A% = 1: X# = 2"
  for (i = 1; i <= n; i++) print "X# = F" i "#(A%, X#)"
  print "PRINT A%; X#"
  print "END"
  for (i = 1; i <= n; i++) {
    print "SUB P" i " (A%, B#)"
    print "  A% = A% + " i % 1000
    print "  B# = B# * 2 + A%"
    print "  IF A% > 10 THEN A% = 0"
    print "  PRINT A%; B#"
    print "END SUB"
    print "FUNCTION F" i "# (A%, B#)"
    print "  CALL P" i "(A%, B#)"
    print "  F" i "# = B# / 3 + A%"
    print "END FUNCTION"
  }
}'
}

procs_c() {
awk -v lines="$1" 'BEGIN {
  print "void p_int(short); void p_double(double); void p_end(void);"
  n = int((lines - 3) / 13)
  for (i = 1; i <= n; i++) {
    print "void p" i "(short *a, double *b);"
    print "double f" i "(short *a, double *b);"
  }
  print "int main(void) { short a = 1; double x = 2;"
  for (i = 1; i <= n; i++) print "x = f" i "(&a, &x);"
  print "p_int(a); p_double(x); p_end();"
  print "return 0; }"
  for (i = 1; i <= n; i++) {
    print "void p" i "(short *a, double *b) {"
    print "  *a = *a + " i % 1000 ";"
    print "  *b = *b * 2 + *a;"
    print "  if (*a > 10) *a = 0;"
    print "  p_int(*a); p_double(*b); p_end();"
    print "}"
    print "double f" i "(short *a, double *b) {"
    print "  p" i "(a, b);"
    print "  return *b / 3 + *a;"
    print "}"
  }
}'
}

# Runs the compilers in turn, RUNS rounds, so that a change of load on the
# machine falls on both; prints for each the best time, lines per second and
# the largest peak resident size, then the ratios txcl/tcc.
measure() {
  python3 - "$runs" "$shape" "$@" <<'EOF'
import subprocess, sys, time
runs, shape, args = int(sys.argv[1]), sys.argv[2], sys.argv[3:]
tools = []  # name, lines, command
while args:
    end = args.index("--") if "--" in args else len(args)
    tools.append((args[0], int(args[1]), args[2:end]))
    args = args[end + 1:]
best = [None] * len(tools)
peak = [0] * len(tools)
for _ in range(runs):
    for i, (name, lines, cmd) in enumerate(tools):
        # GNU time execs the command from a small process of its own, so
        # the peak is the command's, not that of a fork of this interpreter.
        start = time.perf_counter()
        r = subprocess.run(["/usr/bin/time", "-f", "%M", "-o", "peak.txt"] + cmd,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        t = time.perf_counter() - start
        if r.returncode != 0:
            sys.exit("failed: " + " ".join(cmd))
        best[i] = t if best[i] is None else min(best[i], t)
        peak[i] = max(peak[i], int(open("peak.txt").read().split()[-1]))
for i, (name, lines, cmd) in enumerate(tools):
    print("%-5s %d lines in %.3f s (best of %d): %.0f lines per second, peak %.1f MB"
          % (name + ":", lines, best[i], runs, lines / best[i], peak[i] / 1024))
if len(tools) == 2:
    print("%s, %d lines: txcl/tcc time %.2f, peak memory %.2f"
          % (shape, tools[0][1], best[0] / best[1], peak[0] / peak[1]))
EOF
}

cd "$work"
for shape in $shapes; do
for lines in $sizes; do
  echo "shape $shape:"
  "${shape}_basic" "$lines" > BENCH.BAS
  "$txcl" /nologo BENCH.BAS > compile.log 2>&1 || { iconv -f CP932 -t UTF-8 compile.log >&2; exit 1; }
  ls -l BENCH.obj | awk '{ printf "object: %d bytes\n", $5 }'
  set -- txcl "$(wc -l < BENCH.BAS)" "$txcl" /nologo BENCH.BAS
  if [ -n "$tcc" ]; then
    "${shape}_c" "$lines" > bench.c
    "$tcc" -c bench.c -o bench.o
    set -- "$@" -- tcc "$(wc -l < bench.c)" "$tcc" -c bench.c -o bench.o
  fi
  measure "$@"
done
done
