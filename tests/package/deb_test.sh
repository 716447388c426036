#!/bin/bash
# make deb builds the package the project version names, and lintian finds no
# error and no warning in it (info and pedantic notes are printed, not failed).
# Usage: deb_test.sh SOURCE_DIR VERSION OUTDIR
set -u
SRC=$1 VERSION=$2 OUT=$3

deb=$OUT/velmorant_$VERSION-1_$(dpkg --print-architecture).deb
rm -f "$deb"
# Not the jobserver of a make that started ctest: this make runs its own.
env -u MAKEFLAGS -u MFLAGS make -C "$SRC" --no-print-directory deb DEB_DIR="$OUT" >"$OUT.log" 2>&1 || {
    tail -n 40 "$OUT.log"
    echo "make deb failed; the whole log: $OUT.log"
    exit 1
}
[ -f "$deb" ] || { echo "make deb wrote no $deb"; exit 1; }

report=$(lintian --info --pedantic "$deb" 2>&1)
printf '%s\n' "$report"
if grep -qE '^[EW]: ' <<<"$report"; then
    echo "lintian reports errors or warnings"
    exit 1
fi
echo "lintian: no errors, no warnings"
