#!/bin/sh
# corpus_check.sh TXCL IFDUMP SOURCE GOLDEN WORK
# Compiles SOURCE (a .bas file) as t.bas with "txcl /nologo /TMP /Fs /Fp /Fx"
# in a scratch folder and compares the dump of the intermediate file, both
# listings and the cross reference with the golden files GOLDEN.pcode,
# GOLDEN.lst, GOLDEN.i and GOLDEN.xrf (UTF-8; the listings are converted
# from code page 932 first). The dump fails unless the statement stream
# walks exactly to its end mark.
# UPDATE=1 writes the golden files instead; review them before keeping.
set -u
txcl=$1 ifdump=$2 source=$3 golden=$4 work=$5
dir=$work/golden_$(basename "$golden")
rm -rf "$dir" && mkdir -p "$dir" || exit 1
cp "$source" "$dir/t.bas" || exit 1
cd "$dir" || exit 1
TMP=. "$txcl" /nologo /TMP /Fs /Fp /Fx t.bas > stdout.txt 2>&1
# A source with errors leaves the file as far as the pass got; only a good
# one must give a complete file.
if ! "$ifdump" Pcode.tmp > pcode.txt; then
    case $(basename "$golden") in
    bad_*) ;;
    *) iconv -f CP932 -t UTF-8 stdout.txt; exit 1 ;;
    esac
fi
iconv -f CP932 -t UTF-8 t.LST > lst.txt || exit 1
iconv -f CP932 -t UTF-8 t.I > i.txt || exit 1
iconv -f CP932 -t UTF-8 t.XRF > xrf.txt || exit 1
# No work file of the analyzer may be left behind.
if ls -A | grep -q '^\$SC'; then echo "work file left behind"; exit 1; fi
status=0
for ext in pcode lst i xrf; do
    got=$ext.txt
    if [ "${UPDATE:-0}" = 1 ]; then
        cp "$got" "$golden.$ext"
    elif ! diff -u "$golden.$ext" "$got"; then
        status=1
    fi
done
cd "$work" && rm -rf "$dir"
exit $status
