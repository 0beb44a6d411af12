#!/bin/sh
# Seeds the runtime's error record (HKCU) and the installation folder (HKLM)
# with reg add, as the runtime and an installation leave them, then runs one
# scenario of TXANZ60_TEST.EXE, which drives the tool and prints its checks.
#   anz_scenario.sh TXANZ60_TEST.EXE <scenario>
here=$(cd "$(dirname "$0")" && pwd)
run="$here/../../../scripts/wine-run.sh"
exe=$1
scenario=$2
rec='HKCU\Software\Veltran\Tambrix V6.3\RUNTIME\ERROR'
env='HKLM\Software\Veltran\Tambrix V6.3\Env'
reg() { "$run" reg "$@" >/dev/null 2>&1; }
sz() { reg add "$rec" /v "$1" /t REG_SZ /d "$2" /f; }
dw() { reg add "$rec" /v "$1" /t REG_DWORD /d "$2" /f; }

reg delete "$rec" /f
reg delete "$env" /v Tambrix /f
# The message library's stand-in lies in bin/harness beside the program.
lib=$("$run" winepath -w "$(dirname "$exe")/harness/" 2>/dev/null)
case $scenario in
  nokey) ;;
  complete|nolibrary)
    sz MODL MAIN.BAS; dw LINE 120; dw CODE 11; dw FUNC 0x4F; dw INFO 4294967295
    sz TIME "2026/12/11 01:02:03"; dw APIERR 0; sz EXPI ""; sz MODE EXE; sz RTL 6.30
    sz XMODL SUB1.SUB; dw XLINE 7; sz XMODE EXE; sz XRTL 6.30
    dw XADDR 0x401A2C; dw XCODE 0xC0000094 ;;
  damaged)
    # MODL one byte past its buffer, LINE two bytes long, no XADDR, a code
    # without a message, the second routine of a repeated id.
    sz MODL "$(printf '%0300d' 0)"
    reg add "$rec" /v LINE /t REG_BINARY /d 0102 /f
    dw CODE 300; dw FUNC 0xC5; dw INFO 1; sz TIME T; sz MODE EXE; sz RTL R
    dw XCODE 0xC0000005 ;;
esac
if [ "$scenario" != nolibrary ]; then
  reg add "$env" /v Tambrix /t REG_SZ /d "$lib" /f
fi
"$run" "$exe" "/scenario:$scenario"
