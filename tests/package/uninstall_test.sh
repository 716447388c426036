#!/bin/bash
# make install then make uninstall leaves a prefix as it found it: every file
# and every folder the install made goes, and what stood there before stays
# (an empty bin/, another program's menu entry).
# Usage: uninstall_test.sh SOURCE_DIR BUILD_DIR
set -u
SRC=$1 BUILD=$2
TMP=$(mktemp -d)
trap 'rm -rf "$TMP"' EXIT
PREFIX=$TMP/root/usr
mkdir -p "$PREFIX/bin" "$PREFIX/share/applications"
: >"$PREFIX/share/applications/other.desktop"
listing() { (cd "$TMP/root" && find . | LC_ALL=C sort); }
listing >"$TMP/before"

# Not the jobserver of a make that started ctest: these makes run their own.
run_make() { env -u MAKEFLAGS -u MFLAGS make -C "$SRC" --no-print-directory BUILD="$BUILD" PREFIX="$PREFIX" "$@"; }
run_make install >"$TMP/install.log" 2>&1 || { cat "$TMP/install.log"; echo "make install failed"; exit 1; }
[ -x "$PREFIX/bin/velmorant" ] || { echo "make install put no bin/velmorant"; exit 1; }
run_make uninstall >"$TMP/uninstall.log" 2>&1 || { cat "$TMP/uninstall.log"; echo "make uninstall failed"; exit 1; }

listing >"$TMP/after"
if ! diff "$TMP/before" "$TMP/after"; then
    echo "make uninstall left the prefix otherwise than it was (< before, > after)"
    exit 1
fi
echo "make uninstall removed every file and folder the install made, and nothing else"
