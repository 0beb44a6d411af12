#!/usr/bin/env bash
# make ide-demo: lays out an installation of the win64 build with
# scripts/install.sh in build/ide-demo/install, registers it in a Wine prefix
# of its own and starts the installed IDE TAMBRIX from there, as a user's
# machine has it. On a display the IDE stays until you close it; without one
# it runs on a virtual screen and a screenshot is saved in build/ide-demo.png.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
export TX_WINEPREFIX=$root/build/win64/demoprefix
work=$root/build/ide-demo
exe=$work/install/TAMBRIX/TAMBRIX.EXE
mkdir -p "$work"

"$root/scripts/wine-prefix.sh" || { echo "ide-demo: cannot make the Wine prefix"; exit 1; }
wine() { "$root/scripts/wine-run.sh" "$@"; }
# The IDE, its tools and libraries and the per-machine keys come from an
# installation laid out as a user's machine holds it.
rm -rf "$work/install"
"$root/scripts/install.sh" "$root/build/win64" "$work/install" --register >/dev/null 2>"$work/install.log" ||
  { echo "ide-demo: cannot lay out the installation:"; cat "$work/install.log"; exit 1; }
# The example source opens in an editor with its line numbers.
cp "$root/examples/hello.bas" "$work/hello.bas"
src="Z:$(echo "$work/hello.bas" | tr / '\\')"
# The installation's RC compiles it, with tq70form.h from its INCLUDE.
cp "$root/examples/designer/FORMS.RC" "$work/FORMS.RC"
rm -f "$work/FORMS.res" "$work/tq70form.h"
rcsrc="Z:$(echo "$work/FORMS.RC" | tr / '\\')"

if [ -n "${DISPLAY:-}" ]; then
  echo "ide-demo: TAMBRIX starts on $DISPLAY; close it from its File menu."
  wine "$exe" "$src"
  exit 0
fi

# One run on a virtual screen: the IDE opens a file and the screen is saved.
shoot() {
  local file=$1 shot=$2 fb num xvfb ide
  fb=$(mktemp -d)
  num=99
  while [ -e /tmp/.X$num-lock ]; do num=$((num + 1)); done
  Xvfb :$num -screen 0 1024x768x24 -fbdir "$fb" >/dev/null 2>&1 &
  xvfb=$!
  sleep 1
  # A Wine desktop window draws the frames' captions, which no window manager does here.
  DISPLAY=:$num wine explorer /desktop=tambrix,1024x768 "$exe" "$file" >/dev/null 2>&1 &
  ide=$!
  sleep 12
  python3 "$root/scripts/xwd2png.py" "$fb/Xvfb_screen0" "$shot" && echo "ide-demo: screenshot in $shot"
  kill "$ide" 2>/dev/null
  WINEPREFIX=$TX_WINEPREFIX /usr/lib/wine/wineserver -k 2>/dev/null
  kill "$xvfb" 2>/dev/null
  wait 2>/dev/null
  rm -rf "$fb"
}

shoot "$src" "$root/build/ide-demo.png"
# The example resource script opens with its form in design mode (the
# installation's RC compiles it on the way in).
shoot "$rcsrc" "$root/build/ide-demo-form.png"
