#!/bin/bash
# The package make dist wrote for the release test: lintian finds no error and
# no warning in it (info and pedantic notes are printed, not failed).
# Usage: deb_test.sh RELEASE_DIR VERSION
set -u
RELEASE=$1 VERSION=$2

deb=$RELEASE/velmorant_$VERSION-1_$(dpkg --print-architecture).deb
[ -f "$deb" ] || { echo "make dist wrote no $deb"; exit 1; }

report=$(lintian --info --pedantic "$deb" 2>&1)
printf '%s\n' "$report"
if grep -qE '^[EW]: ' <<<"$report"; then
    echo "lintian reports errors or warnings"
    exit 1
fi
echo "lintian: no errors, no warnings"
