# Sourced by the CLI's shell tests: check WHAT COMMAND... runs the command and
# reports it; $failures counts the failed checks.
# shellcheck shell=bash
failures=0

check() {
    local what=$1
    shift
    if "$@"; then
        echo "ok: $what"
    else
        echo "FAIL: $what"
        failures=$((failures + 1))
    fi
}
