#!/bin/bash
# The rooms include only from themselves and the rooms below them, and the
# plain code never from a front end: text <- colour <- markup <- conversion <-
# preview <- front ends. The link checks in core/CMakeLists.txt catch calls up
# the chain; this catches the includes that leave no symbol.
set -u
root=$1
layers=(core/text core/colour core/markup core/conversion preview)
above=(app cli web)
failed=0
for ((i = ${#layers[@]} - 1; i >= 0; i--)); do
    for dir in "${above[@]}"; do
        if grep -rn --include='*.h' --include='*.cpp' "#include \"$dir/" "$root/${layers[i]}"; then
            echo "${layers[i]} includes from $dir above it" >&2
            failed=1
        fi
    done
    above+=("${layers[i]}")
done
exit "$failed"
