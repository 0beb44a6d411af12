#!/bin/sh
# run_host_test.sh WINE-RUN PROGRAM FOLDER: the host layer's test program
# in an empty folder, with the arguments and input lines it expects.
set -e
run=$1 prog=$2 dir=$3
rm -rf "$dir"
mkdir -p "$dir"
cd "$dir"
printf 'xyz 12\r\nabcdef\n' | sh "$run" "$prog" one "two three"
