#!/bin/bash
# The bbcode format read by an independent BBCode parser (Parse::BBCode): the
# text typed, the same as --decode reads it; and --decode's options write the
# code again byte for byte.
# Usage: bbcode_reader_test.sh CLI
# Exits 77 (skipped) without Debian's libparse-bbcode-perl.
set -u
cli=$1
reader=$(dirname "$0")/bbcode_reader.pl
# shellcheck source=tests/cli/check.sh
source "$(dirname "$0")/check.sh"
perl -MParse::BBCode -e 1 2>/dev/null || { echo "skipped: no Parse::BBCode"; exit 77; }

texts=('Say <b>hi</b> & [b]bye[/b]' '[color=#ff0000]red[/color] [size=9]big[/size] [font=x]y'
    $'line\r\nbreak\tand  😀 [[/b]]' '[url]x[/url] [*] [/color]')
settings=('--step=1' '--step=3 --merge --bold --italic' '--start=red --end=red --merge --underline --strike'
    '--colours=red,lime,blue --size=7 --font=Arial')
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for text in "${texts[@]}"; do
    for setting in "${settings[@]}"; do
        # shellcheck disable=SC2086 # each setting is several options
        printf '%s' "$text" | "$cli" --dialect bbcode $setting >"$work/code" 2>/dev/null
        perl "$reader" <"$work/code" >"$work/read" 2>"$work/read.colours"
        "$cli" --decode --dialect bbcode <"$work/code" >"$work/decoded" 2>"$work/decoded.colours"
        check "text read back: $setting: ${text@Q}" [ "$(cat "$work/read")" = "$text" ]
        check "read as --decode reads: $setting" cmp -s "$work/read" "$work/decoded"
        again=$(tail -n 1 "$work/decoded.colours")
        eval "\"\$cli\" --dialect bbcode $again" <"$work/decoded" >"$work/again" 2>/dev/null
        check "written again from --decode's options: $setting" cmp -s "$work/code" "$work/again"
    done
done
exit $((failures > 0))
