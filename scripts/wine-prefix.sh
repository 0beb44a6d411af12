#!/bin/sh
# Creates the Wine prefix once; later runs find it ready.
# wine-prefix.sh serve: also starts one Wine server for a whole test run.
# wine-prefix.sh stop: ends that server.
here=$(cd "$(dirname "$0")" && pwd)
: "${TX_WINEPREFIX:=$here/../build/win64/wineprefix}"
export TX_WINEPREFIX
# A run's server outlives an interrupted run, and would never end by itself.
if [ "${1:-}" = stop ] || [ "${1:-}" = serve ]; then
  WINEPREFIX="$TX_WINEPREFIX" /usr/lib/wine/wineserver -k 2>/dev/null
fi
[ "${1:-}" = stop ] && exit 0
if [ ! -f "$TX_WINEPREFIX/system.reg" ]; then
  mkdir -p "$TX_WINEPREFIX"
  "$here/wine-run.sh" wineboot -i >/dev/null 2>&1
fi
# The caption buttons are drawn with Wine's own Marlett (scripts/setup.sh
# installs it), which this Wine finds only in the prefix's font folder.
fonts="$TX_WINEPREFIX/drive_c/windows/Fonts"
if [ -f /usr/share/wine/fonts/marlett.ttf ] && [ ! -e "$fonts/marlett.ttf" ]; then
  mkdir -p "$fonts" && ln -s /usr/share/wine/fonts/marlett.ttf "$fonts/marlett.ttf"
fi
# A crashing test must end at once with its backtrace; the crash dialog would
# wait on the invisible display until the test times out.
if [ ! -f "$TX_WINEPREFIX/.nocrashdialog" ]; then
  "$here/wine-run.sh" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1 &&
    touch "$TX_WINEPREFIX/.nocrashdialog"
fi
WINEPREFIX="$TX_WINEPREFIX" /usr/lib/wine/wineserver -w
# A server a test starts, and the services its first program starts, keep
# that test's output open, so the test seems to run until the last Wine
# program of the run ends: the run gets its own, with their output elsewhere.
if [ "${1:-}" = serve ]; then
  WINEPREFIX="$TX_WINEPREFIX" /usr/lib/wine/wineserver -p </dev/null >/dev/null 2>&1
  # The first program also starts Wine's own services, which stay for the run.
  "$here/wine-run.sh" cmd /c exit </dev/null >/dev/null 2>&1
fi
test -f "$TX_WINEPREFIX/system.reg" && test -f "$TX_WINEPREFIX/.nocrashdialog"
