#!/bin/sh
# TQ70RD63.DLL exports DbgAnzPcode alone and takes every TQ70RN63 service by
# ordinal: read back from the file with objdump.
set -e
objdump=$1 dll=$2
table=$("$objdump" -p "$dll")
exports=$(printf '%s\n' "$table" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' | grep -E '^[[:space:]]*\[ *[0-9]+\]' | awk '{print $NF}')
[ "$exports" = "DbgAnzPcode" ] || { echo "exports: $exports"; exit 1; }
imports=$(printf '%s\n' "$table" | sed -n '/DLL Name: TQ70RN63.DLL/,/^$/p' | tail -n +3 | grep -v '^$')
[ -n "$imports" ] || { echo "no TQ70RN63 imports"; exit 1; }
named=$(printf '%s\n' "$imports" | grep -v '<none>' || true)
[ -z "$named" ] || { echo "imported by name: $named"; exit 1; }
echo "ok: $(printf '%s\n' "$imports" | wc -l) ordinals"
