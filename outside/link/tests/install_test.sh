#!/usr/bin/env bash
# scripts/install.sh on a stand-in Windows build: where each file lands and
# the keys of the .reg file (code page 932, CR LF, backslashes doubled).
set -u
root=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
build=$work/build
mkdir -p "$build/bin/harness" "$build/lib" "$build/res"
for f in TAMBRIX.EXE TXCL.EXE NMAKE.EXE RC.EXE LINK.EXE TXPP.DLL TXSC.DLL TXCG.DLL TQ70BCNV.DLL; do
  echo "$f" >"$build/bin/$f"
done
# The build keeps the message library apart.
echo TQ70RE63.DLL >"$build/bin/harness/TQ70RE63.DLL"
echo res >"$build/res/TQ70DFLT.RES"
for l in TQ70RN63 TQ70MS63; do printf '!<arch>\n' >"$build/lib/$l.LIB"; done

fail=0
check() { if ! eval "$1"; then echo "FAILED: $1"; fail=1; fi; }
TX_INSTALL_WINDIR='C:\TX\' bash "$root/scripts/install.sh" "$build" "$work/inst" >/dev/null 2>"$work/err"
check '[ $? -eq 0 ]'
for f in TAMBRIX/TAMBRIX.EXE TAMBRIX/TQ70DFLT.RES TAMBRIX/TQ70RE63.DLL TAMBRIX/TXPP.DLL \
         BIN/TXCL.EXE BIN/NMAKE.EXE BIN/RC.EXE BIN/LINK.EXE BIN/TXCG.DLL BIN/TQ70BCNV.DLL \
         LIB/TQ70RN63.LIB LIB/TQ70MS63.LIB \
         INCLUDE/tq70form.h; do
  check "[ -f '$work/inst/$f' ]"
done
check 'cmp -s "$root/ide/designer/include/tq70form.h" "$work/inst/INCLUDE/tq70form.h"'
check '[ -d "$work/inst/PROJECT" ] && [ -d "$work/inst/INCLUDE" ]'
printf 'REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\VELTRAN\\Tambrix V6.3\\Env]\r\n"Tambrix"="C:\\\\TX\\\\TAMBRIX\\\\"\r\n"Bin"="C:\\\\TX\\\\BIN"\r\n"Lib"="C:\\\\TX\\\\LIB"\r\n"Include"="C:\\\\TX\\\\INCLUDE"\r\n"Project"="C:\\\\TX\\\\PROJECT"\r\n\r\n' >"$work/want.reg"
check 'cmp -s "$work/want.reg" "$work/inst/tambrix.reg"'
check '! grep -q "not found" "$work/err"'

# A build without one of them: the rest is laid out, the missing file named
# and the run fails.
rm "$build/bin/RC.EXE"
bash "$root/scripts/install.sh" "$build" "$work/inst2" >/dev/null 2>"$work/err2"
check '[ $? -ne 0 ]'
check 'grep -q "missing: RC.EXE" "$work/err2"'
check '[ -f "$work/inst2/BIN/NMAKE.EXE" ] && [ ! -e "$work/inst2/BIN/RC.EXE" ]'
[ $fail -eq 0 ] || { cat "$work/inst/tambrix.reg"; cat "$work/err"; }
exit $fail
