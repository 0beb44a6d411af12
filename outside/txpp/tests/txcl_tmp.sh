#!/bin/sh
# txcl /nologo /TMP leaves the preprocessor's two temporaries under their
# fixed names; tcdump reads them back as the golden dump says.
# Arguments: txcl tcdump sample golden
set -u
work=$(mktemp -d) || exit 1
trap 'rm -rf "$work"' EXIT
cp "$3" "$work/t.bas" && cd "$work" || exit 1
"$1" /nologo /TMP t.bas >/dev/null  # later passes may refuse the sample's bad line
for f in Srclist.tmp Tcode.tmp; do
  [ -f "$f" ] || { echo "missing $f"; exit 1; }
done
"$2" > dump.txt || { echo "tcdump found the files out of step"; cat dump.txt; exit 1; }
cmp -s dump.txt "$4" || { diff dump.txt "$4"; exit 1; }
