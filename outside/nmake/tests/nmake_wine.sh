#!/bin/sh
# The Windows NMAKE under Wine builds a project in a folder whose name holds
# 表 (trail byte 0x5C): it starts TXCL and RC along PATH with Shift-JIS
# names, and their outputs are byte for byte those of the native programs.
# Usage: nmake_wine.sh runner bin-folder native-bin-folder include-folder example.bas
set -eu
run=$1 bin=$2 native=$3 include=$4 example=$5
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
winpath() { printf 'Z:%s' "$1" | tr / '\\'; }
proj="$dir/表"
mkdir "$proj"
cp "$example" "$proj/MAIN.BAS"
printf '#include "tq70form.h"\r\nMAINMENU MENU\r\nBEGIN\r\n\tMENUITEM "\\036F\\037\225\134",\t0x1\r\nEND\r\n' >"$proj/表.rc"
# The make script in code page 932: 表 is 0x95 0x5C.
printf '"\225\134.res" : "\225\134.rc" "MAIN.obj"\r\n\tRC /l 0x411 /fo "\225\134.res" "\225\134.rc" \r\n\r\n"MAIN.obj" : "MAIN.BAS"\r\n\tTXCL /nologo /Fo"MAIN.obj" "MAIN.BAS"\r\n' >"$proj/make.mk2"
export WINEPATH="$(winpath "$bin")" INCLUDE="$(winpath "$include")"
cd "$proj"
"$run" "$bin/NMAKE.EXE" /nologo /f make.mk2 >out.txt 2>err.txt
printf '\tTXCL /nologo /Fo"MAIN.obj" "MAIN.BAS"\r\n\tRC /l 0x411 /fo "\225\134.res" "\225\134.rc" \r\n' | cmp - out.txt
test ! -s err.txt
# The same script and source through the native programs.
mkdir "$dir/n"
cp "$proj/表.rc" "$proj/MAIN.BAS" "$dir/n/"
(cd "$dir/n" && INCLUDE="$include" "$native/rc" /l 0x411 /fo n.res 表.rc && "$native/txcl" /nologo /FoMAIN.obj MAIN.BAS >/dev/null)
cmp "$proj/表.res" "$dir/n/n.res"
# The object's time stamp (bytes 4-7) is the one difference allowed.
cmp -n 4 "$proj/MAIN.obj" "$dir/n/MAIN.obj"
cmp -i 8 "$proj/MAIN.obj" "$dir/n/MAIN.obj"
"$run" "$bin/NMAKE.EXE" /nologo /f make.mk2 >out.txt 2>err.txt
printf "'\225\134.res' \202\315\215\130\220\126\202\267\202\351\225\113\227\166\202\252\202\240\202\350\202\334\202\271\202\361\201\102\r\n" | cmp - out.txt
echo ok
