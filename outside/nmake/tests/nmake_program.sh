#!/bin/sh
# NMAKE on real files: shell stand-ins record their command lines, the
# inline file is read while LINK runs and is gone afterwards, a failing tool
# stops the build with exit 2, the up-to-date line comes on a second run.
set -eu
nmake=$1
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
mkdir "$dir/bin" "$dir/tmp" "$dir/p"
cat >"$dir/bin/TXCL" <<'T'
#!/bin/sh
echo "TXCL $*" >>"$LOG"
for a in "$@"; do case $a in /Fo*) : >"${a#/Fo}";; esac; done
[ -z "${FAIL:-}" ] || { echo "MAIN.BAS ***3 x"; exit 255; }
T
cat >"$dir/bin/LINK" <<'T'
#!/bin/sh
f=${1#@}
echo "LINK $(cat "$f")" >>"$LOG"
echo "$f" >"$LOG.inline"
: >A.exe
T
chmod +x "$dir/bin/TXCL" "$dir/bin/LINK"
printf 'OBJS="A.obj"\r\nA.exe : $(OBJS)\r\n\tLINK @<<\r\n/out:A.exe $(OBJS)\r\n<<\r\n\r\n"A.obj" : "A.BAS"\r\n\tTXCL /Fo"A.obj" "A.BAS"\r\n' >"$dir/p/A.mk2"
: >"$dir/p/A.BAS"
cd "$dir/p"
export LOG="$dir/log" TMP="$dir/tmp" PATH="$dir/bin:$PATH"
"$nmake" /nologo /f A.mk2 >out.txt 2>err.txt
printf '\tTXCL /Fo"A.obj" "A.BAS"\r\n\tLINK @%s\r\n' "$(cat "$LOG.inline")" | cmp - out.txt
test ! -s err.txt
printf 'TXCL /FoA.obj A.BAS\nLINK /out:A.exe "A.obj"\r\n' | cmp - "$LOG"
test ! -e "$(cat "$LOG.inline")"
"$nmake" /nologo /f A.mk2 >out.txt
grep -q "^'A.exe' " out.txt
test "$(wc -l <out.txt)" -eq 1
set +e
FAIL=1 "$nmake" /nologo /a /f A.mk2 >out.txt 2>err.txt
code=$?
set -e
test $code -eq 2
printf "NMAKE : fatal error U1077: 'TXCL' : return code '0xffffffff'\r\nStop.\r\n" | cmp - err.txt
# A folder or a device named as the make file is an error line, not an abort.
for f in "$dir/p" /dev/zero; do
  set +e
  "$nmake" /nologo /f "$f" >out.txt 2>err.txt
  code=$?
  set -e
  test $code -eq 2
  printf "NMAKE : fatal error U1052: file '%s' is a folder or a device, not a file\r\nStop.\r\n" "$f" | cmp - err.txt
done
echo ok
