#!/usr/bin/env bash
# scripts/install.sh on a stand-in Windows build: where each file lands and
# the keys of the .reg file (code page 932, CR LF, backslashes doubled).
set -u
root=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
build=$work/build
mkdir -p "$build/bin" "$build/lib" "$build/res"
for f in TAMBRIX.EXE TXCL.EXE NMAKE.EXE RC.EXE LINK.EXE TXPP.DLL TXSC.DLL TXCG.DLL TQ70RE63.DLL; do
  echo "$f" >"$build/bin/$f"
done
echo res >"$build/res/TQ70DFLT.RES"
for l in TQ70RN63 TQ70MS63; do printf '!<arch>\n' >"$build/lib/$l.LIB"; done

fail=0
check() { if ! eval "$1"; then echo "FAILED: $1"; fail=1; fi; }
TX_INSTALL_WINDIR='C:\TX\' bash "$root/scripts/install.sh" "$build" "$work/inst" >/dev/null 2>"$work/err"
check '[ $? -eq 0 ]'
for f in TAMBRIX/TAMBRIX.EXE TAMBRIX/TQ70DFLT.RES TAMBRIX/TQ70RE63.DLL TAMBRIX/TXPP.DLL \
         BIN/TXCL.EXE BIN/NMAKE.EXE BIN/RC.EXE BIN/LINK.EXE BIN/TXCG.DLL LIB/TQ70RN63.LIB LIB/TQ70MS63.LIB \
         INCLUDE/tq70form.h; do
  check "[ -f '$work/inst/$f' ]"
done
check 'cmp -s "$root/ide/designer/include/tq70form.h" "$work/inst/INCLUDE/tq70form.h"'
check '[ -d "$work/inst/PROJECT" ] && [ -d "$work/inst/INCLUDE" ]'
printf 'REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\VELTRAN\\Tambrix V6.3\\Env]\r\n"Tambrix"="C:\\\\TX\\\\TAMBRIX\\\\"\r\n"Bin"="C:\\\\TX\\\\BIN"\r\n"Lib"="C:\\\\TX\\\\LIB"\r\n"Include"="C:\\\\TX\\\\INCLUDE"\r\n"Project"="C:\\\\TX\\\\PROJECT"\r\n\r\n' >"$work/want.reg"
check 'cmp -s "$work/want.reg" "$work/inst/tambrix.reg"'
check '! grep -q "EXE not found\|RES not found" "$work/err"'
[ $fail -eq 0 ] || { cat "$work/inst/tambrix.reg"; cat "$work/err"; }
exit $fail
