#!/usr/bin/env bash
# Checks the tracked C++ files against .clang-format, the tracked shell
# scripts with shellcheck and the GitHub workflows against their schema. The file lists come from git, so a tree without
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

# The workflows against GitHub's schema, by the validator the lock file pins,
# installed beside the build the way the web tests install theirs.
mapfile -d '' workflows < <(tracked '.github/workflows/*.yml' '.github/workflows/*.yaml')
if [ "${#workflows[@]}" -gt 0 ]; then
    lock=scripts/workflow-lint/package-lock.json npm_dir=${LINT_NPM_DIR:-build/lint-npm}
    if ! cmp -s "$lock" "$npm_dir/package-lock.json" || [ ! -x "$npm_dir/node_modules/.bin/action-validator" ]; then
        command -v npm >/dev/null || { echo "lint: npm is missing (make test-deps installs it)" >&2; exit 1; }
        mkdir -p "$npm_dir"
        cp scripts/workflow-lint/package.json "$lock" "$npm_dir/"
        npm ci --no-audit --no-fund --silent --prefix "$npm_dir" || exit 1
    fi
    for workflow in "${workflows[@]}"; do
        "$npm_dir/node_modules/.bin/action-validator" "$workflow" || status=1
    done
fi

[ "$status" -eq 0 ] && echo "lint: ${#cxx[@]} C++ files, ${#scripts[@]} scripts and ${#workflows[@]} workflows clean"
exit "$status"
