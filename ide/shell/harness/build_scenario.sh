#!/bin/sh
# The build scenario: an installation laid out by scripts/install.sh, the
# IDE building a project from examples/project with it under Wine, then the
# make script against its golden form (folder and date masked) and the
# program against the native tools' build of the same script, run by basrun.
# Usage: build_scenario.sh runner source-folder windows-build native-build
set -eu
run=$1 root=$2 build=$3 nbuild=$4
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
winpath() { printf 'Z:%s' "$1" | tr / '\\'; }
bash "$root/scripts/install.sh" "$build" "$dir/inst" >/dev/null 2>"$dir/install.txt" || { cat "$dir/install.txt"; exit 1; }
"$run" "$build/bin/TAMBRIX_TEST.EXE" /scenario:build "/inst:$(winpath "$dir/inst")" \
  "/sample:$(winpath "$root/examples/project")" >"$dir/out.txt" 2>&1 || true
# Only this script's last line may say the result.
sed 's/^RESULT /the scenario: /' "$dir/out.txt"
grep -q "^RESULT PASS" "$dir/out.txt"

# The make script, its folder and date masked, as UTF-8.
folder=$(iconv -f CP932 -t UTF-8 "$dir/inst/builddir.txt")
iconv -f CP932 -t UTF-8 "$dir/inst/SAMPLE.mk2" | tr -d '\r' |
  F="$folder\\" awk '{ f = ENVIRON["F"]; while ((i = index($0, f)) > 0) $0 = substr($0, 1, i - 1) "<DIR>/" substr($0, i + length(f)); print }' |
  sed 's/^\(#  日付      ： \).*/\1<DATE>/' >"$dir/mk2.txt"
diff "$root/ide/project/ui/tests/sample.mk2" "$dir/mk2.txt"
echo "ok   the make script is the golden one"

# The same script through the native tools: the same program.
mkdir "$dir/n"
cp "$root/examples/project/MAIN.BAS" "$root/examples/project/GREET.SUB" "$root/examples/project/DEMO.RC" "$dir/n/"
sed 's|<DIR>/||' "$dir/mk2.txt" | sed 's/"SAMPLE.MAK"//' >"$dir/n/SAMPLE.mk2"
(cd "$dir/n" && PATH="$nbuild/bin:$PATH" LIB="$nbuild/lib" INCLUDE="$root/ide/designer/include" \
  NMAKE /nologo /f SAMPLE.mk2 >"$dir/native.txt") || { cat "$dir/native.txt"; exit 1; }
cmp "$dir/n/SAMPLE.exe" "$dir/inst/SAMPLE.exe"
echo "ok   the program is the native build's"
"$nbuild/bin/basrun" "$dir/inst/SAMPLE.exe" >"$dir/run.txt"
cmp "$root/examples/project/DEMO.out" "$dir/run.txt"
echo "ok   basrun runs it"
echo "RESULT PASS"
