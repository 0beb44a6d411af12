#!/bin/sh
# Runs a win64 program under Wine with code page 932 and the build tree's own prefix.
here=$(cd "$(dirname "$0")" && pwd)
: "${TX_WINEPREFIX:=$here/../build/win64/wineprefix}"
export WINEPREFIX="$TX_WINEPREFIX" WINEDEBUG="${WINEDEBUG:--all}" WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
exec /usr/lib/wine/wine64 "$@"
