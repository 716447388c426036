#!/bin/bash
# The CLI's answers to input and output it cannot use: every failure one line on
# standard error naming the program and the cause, exit status 1, never an abort.
# Usage: faults_test.sh CLI [sanitized]
# Under AddressSanitizer an address-space limit cannot apply (the sanitizer
# reserves terabytes of shadow space), so those rows are left out there.
set -u

# shellcheck disable=SC2034 # used by the rows' commands, through eval
cli=$1
sanitized=${2:-}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

# Each row: name | expected status | the one stderr line starts with | KiB of
# address space (empty: no limit) | command, with $cli and $work.
while IFS='|' read -r name status message limit command; do
    [ -n "$name" ] || continue
    if [ -n "$limit" ] && [ -n "$sanitized" ]; then
        echo "skip: $name (no address-space limit under the sanitizer)"
        continue
    fi
    (
        [ -z "$limit" ] || ulimit -v "$limit"
        eval "$command"
    ) >"$work/out" 2>"$work/err"
    actual=$?
    lines=$(wc -l <"$work/err")
    if [ "$actual" != "$status" ] || { [ -n "$message" ] && { [ "$lines" != 1 ] ||
        [ "$(head -c ${#message} "$work/err")" != "$message" ]; }; } ||
        { [ -z "$message" ] && [ -s "$work/err" ]; }; then
        echo "FAIL: $name: status $actual (want $status), stderr:"
        head -c 2000 "$work/err"
        failures=$((failures + 1))
    else
        echo "ok: $name"
    fi
done <<'ROWS'
directory on standard input|1|velmorant-cli: cannot read standard input: Is a directory||"$cli" <"$work"
directory as the file|1|velmorant-cli: cannot read '/': Is a directory||"$cli" /
--help into a full disk|1|velmorant-cli: cannot write the output: No space left on device||"$cli" --help >/dev/full
--version into a full disk|1|velmorant-cli: cannot write the output: No space left on device||"$cli" --version >/dev/full
code into a full disk|1|velmorant-cli: cannot write the output: No space left on device||printf abc | "$cli" >/dev/full
endless input stops at the length limit|1|velmorant-cli: standard input is too long: the limit is 2147483647 UTF-16 code units|8388608|timeout 300 "$cli" </dev/zero
input beyond the memory left|1|velmorant-cli: out of memory after reading |262144|head -c 600M /dev/zero | "$cli"
huge --open template streams in little memory|0||262144|head -c 1000 /dev/zero | tr '\0' a | "$cli" --size= --font= --open="$(head -c 130000 /dev/zero | tr '\0' x)" | test "$(wc -c)" = 130016000
ROWS

[ "$failures" = 0 ] || { echo "$failures failed"; exit 1; }
