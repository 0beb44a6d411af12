#!/bin/sh
# The example project built by the native NMAKE: TXCL, RC and LINK started
# along PATH by the names the make script writes, the program run by basrun;
# a second run has nothing to do.
# Usage: project_native.sh bin-folder lib-folder include-folder project-folder
set -eu
bin=$1 lib=$2 include=$3 project=$4
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
cp "$project"/* "$dir/"
cd "$dir"
export PATH="$bin:$PATH" LIB="$lib" INCLUDE="$include"
NMAKE /nologo /f DEMO.mk2 >out.txt
grep -v '^	LINK @' out.txt >got.txt
printf '\tTXCL /nologo /MW /CLe /CIe /COe /CFF /Zi /Fo"MAIN.obj" "MAIN.BAS"\r\n\tTXCL /nologo /MW /CLe /CIe /COe /CFF /Zi /Fo"GREET.obj" "GREET.SUB"\r\n\tRC /l 0x411 /fo "DEMO.res" "DEMO.RC" \r\n' | cmp - got.txt
test "$(sed -n 4p out.txt | cut -c1-7)" = "$(printf '\tLINK @')"
"$bin/basrun" DEMO.exe >run.txt
cmp "$project/DEMO.out" run.txt
NMAKE /nologo /f DEMO.mk2 >out.txt
printf "'DEMO.exe' \202\315\215\130\220\126\202\267\202\351\225\113\227\166\202\252\202\240\202\350\202\334\202\271\202\361\201\102\r\n" | cmp - out.txt
echo ok
