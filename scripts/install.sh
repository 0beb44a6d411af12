#!/usr/bin/env bash
# scripts/install.sh BUILD DEST [--register]
# Lays out an installation from a Windows build (build/win32 or build/win64)
# as a user's machine holds it:
#   DEST/TAMBRIX   the IDE: TAMBRIX.EXE, TQ70DFLT.RES, the message library
#                  TQ70RE63.DLL and the DLLs it loads by import
#   DEST/BIN       TXCL, NMAKE, RC, LINK, the compiler's DLLs and TQ70BCNV.DLL
#   DEST/LIB       the runtime libraries under their TQ70*.LIB names
#   DEST/INCLUDE   tq70form.h, windows.bi
#   DEST/PROJECT   the default project folder
#   DEST/tambrix.reg  the per-machine keys pointing at them
# The keys name the folders as Windows sees them: Z: and the Linux path, or
# TX_INSTALL_WINDIR when set (e.g. C:\TX). With --register the .reg file is
# imported into the Wine prefix TX_WINEPREFIX (scripts/wine-run.sh's).
# The runtime libraries are i686 archives that only the native build makes;
# they are taken from BUILD/lib, else from build/native/lib.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
if [ $# -lt 2 ]; then
  echo "usage: scripts/install.sh BUILD DEST [--register]" >&2
  exit 2
fi
build=$(cd "$1" && pwd)
mkdir -p "$2"
dest=$(cd "$2" && pwd)
register=${3:-}

ide=$dest/TAMBRIX bin=$dest/BIN lib=$dest/LIB inc=$dest/INCLUDE
mkdir -p "$ide" "$bin" "$lib" "$inc" "$dest/PROJECT"

# Copies the first file of this name found under the first of the folders
# that holds one; a missing one is reported, the rest still laid out.
put() {
  local name=$1 to=$2 found="" from
  shift 2
  for from in "$@"; do
    [ -d "$from" ] || continue
    found=$(find "$from" -path '*/wineprefix' -prune -o -path '*/demoprefix' -prune -o \
            -iname "$name" -type f -print 2>/dev/null | head -n 1)
    [ -n "$found" ] && break
  done
  if [ -n "$found" ]; then
    cp "$found" "$to/$name"
  else
    echo "install: $name not found under $*" >&2
    missing="$missing $name"
  fi
}
missing=""

put TAMBRIX.EXE "$ide" "$build/bin"
# Made by our RC: in this build, or in the native one.
put TQ70DFLT.RES "$ide" "$build" "$root/build/native"
# The message library beside the IDE (the Env value "Tambrix" names this
# folder); the build keeps it apart, under bin/harness.
put TQ70RE63.DLL "$ide" "$build/bin"
# The migration converter is loaded from the Env value "Bin".
put TQ70BCNV.DLL "$bin" "$build/bin"
# The IDE starts NMAKE and RC, and NMAKE TXCL, RC and LINK, along PATH with
# the Env value "Bin" in front.
for tool in TXCL.EXE NMAKE.EXE RC.EXE LINK.EXE; do
  put "$tool" "$bin" "$build/bin"
done
# The compiler's passes beside TXCL; the IDE imports two of them itself.
for dll in "$build"/bin/TX*.DLL; do
  [ -f "$dll" ] || continue
  cp "$dll" "$bin/"
  cp "$dll" "$ide/"
done

libdir=$build/lib
ls "$libdir"/TQ70*.LIB >/dev/null 2>&1 || libdir=$root/build/native/lib
if ls "$libdir"/TQ70*.LIB >/dev/null 2>&1; then
  cp "$libdir"/TQ70*.LIB "$lib/"
  # The runtime itself, which every program links.
  [ -f "$lib/TQ70RN63.LIB" ] || { echo "install: TQ70RN63.LIB not found in $libdir" >&2; missing="$missing TQ70RN63.LIB"; }
else
  echo "install: no TQ70*.LIB in $build/lib or build/native/lib (build the native tree first)" >&2
  missing="$missing TQ70*.LIB"
fi
# The one form header, the same RC's include folder and the designer use.
cp "$root/ide/designer/include/tq70form.h" "$inc/"
put windows.bi "$inc" "$root"

# Windows names of the folders, and the .reg file (backslashes doubled).
if [ -n "${TX_INSTALL_WINDIR:-}" ]; then
  win=${TX_INSTALL_WINDIR%\\}
else
  win="Z:$(printf '%s' "$dest" | tr / '\\')"
fi
esc() { printf '%s' "$1" | sed 's/\\/\\\\/g'; }
reg=$dest/tambrix.reg
{
  printf 'REGEDIT4\r\n\r\n'
  printf '[HKEY_LOCAL_MACHINE\\Software\\VELTRAN\\Tambrix V6.3\\Env]\r\n'
  printf '"Tambrix"="%s"\r\n' "$(esc "$win\\TAMBRIX\\")"
  printf '"Bin"="%s"\r\n' "$(esc "$win\\BIN")"
  printf '"Lib"="%s"\r\n' "$(esc "$win\\LIB")"
  printf '"Include"="%s"\r\n' "$(esc "$win\\INCLUDE")"
  printf '"Project"="%s"\r\n' "$(esc "$win\\PROJECT")"
  printf '\r\n'
} >"$reg.utf8"
# Registry files are read in the system's code page.
iconv -f UTF-8 -t CP932 "$reg.utf8" >"$reg" && rm -f "$reg.utf8"

if [ "$register" = "--register" ]; then
  "$root/scripts/wine-prefix.sh"
  "$root/scripts/wine-run.sh" regedit /S "Z:$(printf '%s' "$reg" | tr / '\\')"
  WINEPREFIX="${TX_WINEPREFIX:-$root/build/win64/wineprefix}" /usr/lib/wine/wineserver -w
fi
echo "install: $dest"
# Files other builds have not made yet are reported above and named again
# here; the rest is laid out all the same.
if [ -n "$missing" ]; then
  echo "install: incomplete, missing:$missing" >&2
  [ -z "${TX_INSTALL_PARTIAL:-}" ] && exit 1
fi
exit 0
