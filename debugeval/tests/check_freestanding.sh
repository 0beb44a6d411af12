#!/bin/sh
# The freestanding core asks nothing of its host but memcpy, memmove and
# memset (the runtime subset has them):
# every symbol its objects leave undefined, less those they define.
set -e
nm=$1 lib=$2
table=$("$nm" "$lib")
defined=$(printf '%s\n' "$table" | awk 'NF == 3 && $2 != "U" {print $3}' | sort -u)
undefined=$(printf '%s\n' "$table" | awk 'NF == 2 && $1 == "U" {print $2}' | sort -u)
needs=$(printf '%s\n' "$undefined" | grep -v -x -F "$defined" || true)
extra=$(printf '%s\n' "$needs" | grep -v -x -e _memcpy -e _memmove -e _memset || true)
[ -z "$extra" ] || { echo "needs: $extra"; exit 1; }
echo "ok: needs $(printf '%s\n' "$needs" | tr '\n' ' ')"
