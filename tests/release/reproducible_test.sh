#!/bin/bash
# make dist twice gives the same bytes: once in the checkout, as a developer
# runs it, with the package's suites; once in a clone elsewhere, minutes later,
# with another umask, locale and time zone, without them. diffoscope says what
# differs if anything does. The first release stays in OUT/a/release for the
# package and site tests.
# Usage: reproducible_test.sh SOURCE_DIR OUT JOBS
set -u
SRC=$1 OUT=$2 JOBS=$3

rm -rf "$OUT"
mkdir -p "$OUT/b"
git clone --quiet --shared "$SRC" "$OUT/b/velmorant" || exit 1
git -C "$OUT/b/velmorant" checkout --quiet --detach "$(git -C "$SRC" rev-parse HEAD)" || exit 1

# dist NAME DIR UMASK LOCALE ZONE DEB_BUILD_OPTIONS
dist() {
    local started=$SECONDS
    # Not the jobserver of a make that started ctest: this make runs its own.
    (umask "$3" && env -u MAKEFLAGS -u MFLAGS LC_ALL="$4" TZ="$5" DEB_BUILD_OPTIONS="$6" \
        make -C "$2" --no-print-directory dist JOBS="$JOBS" RELEASE_DIR="$OUT/$1/release" DIST_WORK="$OUT/$1/work") \
        >"$OUT/$1.log" 2>&1 || {
        tail -n 40 "$OUT/$1.log"
        echo "make dist ($1) failed; the whole log: $OUT/$1.log"
        exit 1
    }
    echo "make dist ($1, umask $3, $4, $5, DEB_BUILD_OPTIONS='$6'): $((SECONDS - started)) s"
}
dist a "$SRC" 022 C.UTF-8 UTC ''
dist b "$OUT/b/velmorant" 077 C Asia/Shanghai nocheck

if diff -rq "$OUT/a/release" "$OUT/b/release" >"$OUT/diff.txt"; then
    echo "identical: $(cd "$OUT/a/release" && find . -type f | LC_ALL=C sort | tr '\n' ' ')"
    exit 0
fi
cat "$OUT/diff.txt"
diffoscope --text "$OUT/diffoscope.txt" --exclude-directory-metadata=yes "$OUT/a/release" "$OUT/b/release" >/dev/null 2>&1
cut -c 1-240 "$OUT/diffoscope.txt" | head -n 200
echo "the two releases differ; diffoscope's whole report: $OUT/diffoscope.txt"
exit 1
