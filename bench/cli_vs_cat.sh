#!/bin/bash
# The CLI beside `cat OUT | cat > COPY` passing the same output bytes through user
# space (a plain `cat` of a file may copy inside the kernel), the two alternating
# so both see the same machine load; then the CLI's peak memory from GNU time.
#
# usage: bench/cli_vs_cat.sh [CLI] [RUNS] [CHARACTERS...]
#   defaults: build/velmorant-cli, 5 runs, 1000000 and 10000000 characters
set -euo pipefail

cli=${1:-build/velmorant-cli}
runs=${2:-5}
shift $(($# < 2 ? $# : 2))
sizes=("$@")
[ ${#sizes[@]} -gt 0 ] || sizes=(1000000 10000000)

[ -x "$cli" ] || { echo "$0: no CLI at $cli (make build first)" >&2; exit 1; }
[ -x /usr/bin/time ] || { echo "$0: needs GNU time (make deps)" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Forum-reply text as in the generator benchmark: Chinese and Latin, blanks
# inside, CR LF after every sentence; no pairs, so characters are char16s.
make_input() {
    perl -CO -e '
        my $sentence = "\x{6E10}\x{53D8}\x{8272}\x{5F69}\x{7684}\x{6587}\x{5B57} makes a forum reply stand out, "
                     . "\x{6BCF}\x{4E2A}\x{5B57}\x{90FD}\x{6709}\x{81EA}\x{5DF1}\x{7684}\x{989C}\x{8272}\x{3002}\r\n";
        my $n = $ARGV[0];
        my $text = $sentence x (int($n / length($sentence)) + 1);
        print substr($text, 0, $n - 1), "x";' "$1"
}

now_ns() { date +%s%N; }

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

printf '%-11s %10s %10s %10s %7s %13s %13s\n' characters "out MB" "cli ms" "cat ms" ratio "peak MiB" "limit MiB"
for chars in "${sizes[@]}"; do
    make_input "$chars" >"$work/in.txt"
    "$cli" "$work/in.txt" >"$work/out"
    : >"$work/cli.ms"
    : >"$work/cat.ms"
    for ((run = 0; run < runs; ++run)); do
        start=$(now_ns)
        "$cli" "$work/in.txt" >"$work/copy"
        echo $((($(now_ns) - start) / 1000000)) >>"$work/cli.ms"
        cmp -s "$work/out" "$work/copy" || { echo "$0: output differs between runs" >&2; exit 1; }
        rm -f "$work/copy"
        start=$(now_ns)
        # shellcheck disable=SC2002 # the first cat is the point: both copies pass through user space
        cat "$work/out" | cat >"$work/copy"
        echo $((($(now_ns) - start) / 1000000)) >>"$work/cat.ms"
        rm -f "$work/copy"
    done
    cli_ms=$(median <"$work/cli.ms")
    cat_ms=$(median <"$work/cat.ms")
    peak_kib=$(/usr/bin/time -v "$cli" "$work/in.txt" 2>&1 >/dev/null |
        awk -F': ' '/Maximum resident set size/ { print $2 }')
    # Twice the input in UTF-16 plus 32 MiB.
    limit_mib=$(awk -v c="$chars" 'BEGIN { printf "%.1f", 2 * 2 * c / 1048576 + 32 }')
    printf '%-11s %10.1f %10s %10s %7.2f %13.1f %13s\n' "$chars" "$(stat -c %s "$work/out" | awk '{ print $1 / 1e6 }')" \
        "$cli_ms" "$cat_ms" "$(awk -v a="$cli_ms" -v b="$cat_ms" 'BEGIN { print (b > 0) ? a / b : 0 }')" \
        "$(awk -v k="$peak_kib" 'BEGIN { print k / 1024 }')" "$limit_mib"
    rm -f "$work/out"
done
