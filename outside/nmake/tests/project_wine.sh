#!/bin/sh
# The example project built under Wine by the Windows NMAKE, TXCL, RC and
# LINK of an installation laid out by scripts/install.sh (its BIN, LIB and
# INCLUDE), in a folder whose name holds 表 (trail byte 0x5C), the make
# script naming the resource files by their full paths as the IDE writes
# them. The program is byte for byte the native build's, and basrun runs it.
# Usage: project_wine.sh runner source-folder windows-build native-build project-folder
set -eu
run=$1 root=$2 build=$3 nbuild=$4 project=$5
native=$nbuild/bin lib=$nbuild/lib include=$root/ide/designer/include
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
winpath() { printf 'Z:%s' "$1" | tr / '\\'; }
bash "$root/scripts/install.sh" "$build" "$dir/inst" >/dev/null 2>"$dir/install.txt" || { cat "$dir/install.txt"; exit 1; }
inst=$dir/inst

mkdir "$dir/n"
cp "$project"/* "$dir/n/"
(cd "$dir/n" && PATH="$native:$PATH" LIB="$lib" INCLUDE="$include" NMAKE /nologo /f DEMO.mk2 >/dev/null)

proj="$dir/表"
mkdir "$proj"
cp "$project"/* "$proj/"
# The folder in code page 932 (表 is 0x95 0x5C) inside the make script.
full=$(winpath "$dir/")$(printf '\225\134')\\
full=$(printf '%s' "$full" | sed 's/\\/\\\\/g')   # backslashes doubled for sed
sed -e "s|\"DEMO.res\"|\"${full}DEMO.res\"|" -e "s|\"DEMO.RC\"|\"${full}DEMO.RC\"|g" \
    "$project/DEMO.mk2" >"$proj/DEMO.mk2"
grep -q 'DEMO.RC" $' "$proj/DEMO.mk2"
cd "$proj"
WINEPATH="$(winpath "$inst/BIN")" LIB="$(winpath "$inst/LIB")" INCLUDE="$(winpath "$inst/INCLUDE")" \
  "$run" "$inst/BIN/NMAKE.EXE" /nologo /f DEMO.mk2 >out.txt 2>err.txt || { cat out.txt err.txt; exit 1; }
test "$(grep -c '^	\(TXCL\|RC\|LINK\) ' out.txt)" = 4
! grep -q -i error out.txt
cmp "$dir/n/DEMO.exe" DEMO.exe
"$native/basrun" DEMO.exe >run.txt
cmp "$project/DEMO.out" run.txt
echo ok
