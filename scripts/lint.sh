#!/usr/bin/env bash
# Checks the tracked C++ files against .clang-format and the tracked shell
# scripts with shellcheck. The file lists come from git, so a tree without
# .git (an unpacked source package) skips the check rather than guess.
set -euo pipefail
cd "$(dirname "$0")/.."
CLANG_FORMAT=${CLANG_FORMAT:-clang-format}

if ! git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    echo "lint: not a git checkout, skipped"
    exit 0
fi
for tool in "$CLANG_FORMAT" shellcheck; do
    command -v "$tool" >/dev/null || { echo "lint: $tool is missing (make test-deps installs it)" >&2; exit 1; }
done

# Tracked files still on disk (a deletion not yet committed is no error).
tracked() { git ls-files -z -- "$@" | while IFS= read -r -d '' f; do [ -f "$f" ] && printf '%s\0' "$f"; done; }

status=0
mapfile -d '' cxx < <(tracked '*.cpp' '*.h')
"$CLANG_FORMAT" --dry-run -Werror "${cxx[@]}" || status=1

# Scripts by name, and those without one by their #! line.
mapfile -d '' scripts < <(
    tracked '*.sh' '*.bash'
    tracked | while IFS= read -r -d '' f; do
        case $f in *.sh | *.bash) continue ;; esac
        head -n1 "$f" | grep -qE '^#!.*[/ ](ba)?sh$' && printf '%s\0' "$f"
    done
)
shellcheck --external-sources --severity=warning "${scripts[@]}" || status=1

[ "$status" -eq 0 ] && echo "lint: ${#cxx[@]} C++ files and ${#scripts[@]} scripts clean"
exit "$status"
