#!/bin/sh
# check_output.sh EXPECTED EXIT WORKDIR NATIVE COMMAND...
# Runs COMMAND in a fresh empty folder (also its TMP) and checks that it
# exits with EXIT, writes exactly the bytes of EXPECTED and leaves the
# folder empty. A Windows program (COMMAND ending in .EXE) writes text
# mode: every line must end in CR LF, and the bytes are compared with the
# CRs taken out. NATIVE, unless "-", is the native program: its output for
# the same arguments must be the same bytes.
set -uf
expected=$1 code=$2 workdir=$3 native=$4
shift 4
run=$workdir/run_$$
rm -rf "$run" && mkdir -p "$run/tmp" || exit 1
out=$run.out
last=""
for a in "$@"; do last=$a; done
(cd "$run/tmp" && TMP=. "$@") >"$out"
rc=$?
fail=0
if [ "$rc" -ne "$code" ]; then echo "exit code $rc, expected $code"; fail=1; fi
case "$*" in
*.EXE*)
  # Every LF must come right after a CR.
  if [ "$(tr -cd '\n' <"$out" | wc -c)" -ne "$(grep -c "$(printf '\r')\$" "$out")" ]; then
    echo "a line does not end in CR LF"; fail=1
  fi
  tr -d '\r' <"$out" >"$out.lf" && mv "$out.lf" "$out" ;;
esac
if ! cmp "$out" "$expected"; then
  echo "--- got"; od -c "$out" | head -40; fail=1
fi
if [ -n "$(ls -A "$run/tmp")" ]; then echo "left behind:"; ls -A "$run/tmp"; fail=1; fi
if [ "$native" != "-" ]; then
  if [ ! -x "$native" ]; then
    echo "native program $native not built"; fail=1
  else
    # The arguments after the program.
    found=0 args=""
    native_out=$run.native
    for a in "$@"; do
      if [ $found = 1 ]; then args="$args $a"; fi
      case "$a" in *.EXE) found=1 ;; esac
    done
    (cd "$run/tmp" && TMP=. "$native" $args) >"$native_out"
    if ! cmp "$out" "$native_out"; then echo "differs from the native program"; fail=1; fi
  fi
fi
rm -rf "$run" "$out" "$run.native"
exit $fail
