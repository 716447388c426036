#!/bin/bash
# The bash completion against the program: every option, dialect and colour it
# offers is one the CLI takes, every option the help lists is offered, and the
# start-up values it offers are the program's own.
# Usage: completion_test.sh CLI COMPLETION
# Functions run through check look unreachable to shellcheck.
# shellcheck disable=SC2317
set -u

cli=$1
# shellcheck source=tests/cli/check.sh
source "$(dirname "$0")/check.sh"

# What bash-completion would provide, reduced to what the completion uses; the
# variables are the completion's.
# shellcheck disable=SC2034
_init_completion() {
    cur=${COMP_WORDS[COMP_CWORD]}
    prev=${COMP_WORDS[COMP_CWORD - 1]}
    words=("${COMP_WORDS[@]}")
    cword=$COMP_CWORD
    split=false
}
_filedir() { :; }
compopt() { :; }
complete() { :; }
# shellcheck source=/dev/null
source "$2"

# The completions offered for the last word, one a line.
offered() {
    COMP_WORDS=("$cli" "$@")
    COMP_CWORD=$#
    COMPREPLY=()
    _velmorant_cli "$cli" "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
    printf '%s\n' "${COMPREPLY[@]}"
}

takes() { "$cli" "$@" </dev/null >/dev/null 2>&1; }

options=$(offered -)
unknown=""
for option in $options; do
    "$cli" "$option" x </dev/null 2>&1 >/dev/null | grep -q "unknown option" && unknown+=" $option"
done
check "every option offered is the CLI's" [ -z "$unknown" ]
missing=""
for option in $("$cli" --help | grep -o -- '--[a-z][a-z-]*' | sort -u); do
    grep -qx -- "$option" <<<"$options" || missing+=" $option"
done
check "every option of the help is offered${missing:+, not:$missing}" [ -z "$missing" ]

# The lists offered are the description's, in its order.
description=$("$cli" --list=description)
listed() { python3 -c 'import json, sys; d = json.loads(sys.argv[1]); print("\n".join(eval(sys.argv[2])))' "$description" "$1"; }
for pair in "format:[f['name'] for f in d['formats']]" "dialect:[f['name'] for f in d['formats']]" \
    "blend:[b['name'] for b in d['blends']]" "size:d['sizes']" "font:d['fonts']" "start:d['colourNames']"; do
    check "--${pair%%:*} offers the description's list" [ "$(offered "--${pair%%:*}" '')" = "$(listed "${pair#*:}")" ]
done
for dialect in $(offered --dialect ''); do
    check "dialect $dialect is taken" takes --dialect "$dialect"
done
colours=$(offered --start '' | paste -sd,)
check "every colour name offered is taken" takes --colours "$colours"

# The start-up values offered give the code of no options at all.
step=$(offered --step '')
size=$(listed "[d['startup']['size']]")
font=$(listed "[d['startup']['font']]")
check "the start-up size and font are offered" grep -qx -- "$size" <<<"$(offered --size '')" &&
    grep -qx -- "$font" <<<"$(offered --font '')"
check "start-up values offered" [ -n "$step" ] && [ -n "$size" ] && [ -n "$font" ]
check "the values offered are the start-up values" \
    [ "$(printf 'Hi there' | "$cli")" = "$(printf 'Hi there' | "$cli" --step "$step" --size "$size" --font "$font")" ]

exit $((failures > 0))
