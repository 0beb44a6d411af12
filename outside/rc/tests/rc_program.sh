#!/bin/sh
# RC on real files: silent success with the .res beside the script (a
# folder holding ".rc" left alone); an error prints its line, exits 1 and
# leaves no .res, not even an older one.
set -eu
rc=$1
export INCLUDE=$2
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
mkdir "$dir/a.rc.d"
printf '#include "tq70form.h"\r\nF RCDATA BEGIN __CREATE3, XWT_EDIT END\r\n' >"$dir/a.rc.d/ok.rc"
test -z "$("$rc" /r /l 0x411 "$dir/a.rc.d/ok.rc")"
# __CREATE3 (16-bit) and XWT_EDIT (32-bit) after the two headers
test "$(od -An -tx1 -j64 -N6 "$dir/a.rc.d/ok.res" | tr -d ' \n')" = "700007000000"
printf 'F RCDATA\r\nBEGIN\r\n\tUNDEFINED_NAME\r\nEND\r\n' >"$dir/bad.rc"
: >"$dir/bad.res"
set +e
out=$("$rc" /r /l 0x411 /fo "$dir/bad.res" "$dir/bad.rc")
code=$?
set -e
test $code -eq 1
test "$out" = "$(printf '%s(3) : error RC2104 : undefined keyword or key name: UNDEFINED_NAME\r' "$dir/bad.rc")"
test ! -e "$dir/bad.res"
# A folder or a device where a file is wanted: the script itself, an
# image or an include file. An error line and exit 1, never an abort.
mkdir "$dir/folder.bmp"
printf 'B BITMAP "%s"\r\n' "$dir/folder.bmp" >"$dir/img.rc"
printf '#include "/dev/zero"\r\n' >"$dir/zero.rc"
for case in "$dir/a.rc.d|RC : fatal error RC1110 : $dir/a.rc.d is a folder or a device, not a file" \
            "$dir/img.rc|$dir/img.rc(1) : error RC2135 : $dir/folder.bmp is a folder or a device, not a file" \
            "$dir/zero.rc|$dir/zero.rc(1) : error RC1015 : /dev/zero is a folder or a device, not a file"; do
  set +e
  out=$("$rc" /r /fo "$dir/x.res" "${case%%|*}")
  code=$?
  set -e
  test $code -eq 1
  test "$out" = "$(printf '%s\r' "${case#*|}")"
done
echo ok
