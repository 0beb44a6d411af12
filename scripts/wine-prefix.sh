#!/bin/sh
# Creates the Wine prefix once; later runs find it ready.
here=$(cd "$(dirname "$0")" && pwd)
: "${TX_WINEPREFIX:=$here/../build/win64/wineprefix}"
export TX_WINEPREFIX
if [ ! -f "$TX_WINEPREFIX/system.reg" ]; then
  mkdir -p "$TX_WINEPREFIX"
  "$here/wine-run.sh" wineboot -i >/dev/null 2>&1
  WINEPREFIX="$TX_WINEPREFIX" /usr/lib/wine/wineserver -w
fi
test -f "$TX_WINEPREFIX/system.reg"
