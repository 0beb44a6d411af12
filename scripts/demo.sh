#!/usr/bin/env bash
# make demo: runs the compiler driver on the bundled examples and shows what
# it prints, then compiles, links and runs each example with basrun (the
# i686 program runs in the CPU emulator against our runtime library). The
# console output is Shift-JIS; iconv shows it here as UTF-8.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
txcl=$root/build/native/bin/txcl
basrun=$root/build/native/bin/basrun
work=$root/build/demo
rm -rf "$work" && mkdir -p "$work" && cd "$work" || exit 1

run() {
  echo "\$ txcl $*"
  "$txcl" "$@" | iconv -f CP932 -t UTF-8
  echo "(exit code ${PIPESTATUS[0]})"
  echo
}

run '/?'
cp "$root"/examples/*.bas .
# The options a project build passes, with /TMP: the parameter block the
# passes receive, and the temporary files kept under their fixed names.
run /TMP /nologo /MW /CLe '/S?' /Zi /Fs hello.bas
for src in "$root"/examples/*.bas; do
  run "$(basename "$src")"
done
run /nologo missing.bas

echo "files in $work:"
ls "$work"
echo

# basrun compiles with txcl, links with the i686 linker and the runtime
# library, and runs the image; it exits 0 when the program ends normally.
# The programs' files go to the demo's folder.
for src in "$root"/examples/*.bas; do
  name=examples/$(basename "$src")
  echo "\$ basrun --dir build/demo $name"
  (cd "$root" && "$basrun" --dir "$work" "$name") | iconv -f CP932 -t UTF-8
  echo "(exit code ${PIPESTATUS[0]})"
  echo
done

# A picture: basrun writes the program's graphics screen as a PNG.
picture=$work/picture.png
echo "\$ basrun --screen $picture examples/picture/picture.bas"
(cd "$root" && "$basrun" --screen "$picture" examples/picture/picture.bas) | iconv -f CP932 -t UTF-8
echo "(exit code ${PIPESTATUS[0]})"
echo "the picture is in $picture"
echo

# The example project: NMAKE reads its make script and starts TXCL, RC and
# LINK along PATH (the build's bin holds them under those names), then
# basrun runs the program; a second NMAKE has nothing to do.
proj=$work/project
mkdir -p "$proj" && cp "$root"/examples/project/* "$proj/" && cd "$proj" || exit 1
export PATH="$root/build/native/bin:$PATH" LIB="$root/build/native/lib" INCLUDE="$root/ide/designer/include"
for pass in 1 2; do
  echo "\$ NMAKE /nologo /f DEMO.mk2"
  NMAKE /nologo /f DEMO.mk2 | iconv -f CP932 -t UTF-8 | tr -d '\r'
  echo "(exit code ${PIPESTATUS[0]})"
  echo
done
echo "\$ basrun DEMO.exe"
"$basrun" DEMO.exe | iconv -f CP932 -t UTF-8
echo "(exit code ${PIPESTATUS[0]})"
