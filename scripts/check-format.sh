#!/usr/bin/env bash
# Checks that every C++ file of the tree is formatted as .clang-format says; lists the ones that
# are not and fails. Fix them with: clang-format -i FILE (or git clang-format on staged changes).
# One clang-format process checks them all: one a file took over a minute.
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t files < <(git ls-files '*.cpp' '*.h')
if ! report=$(clang-format --dry-run --Werror "${files[@]}" 2>&1); then
    unformatted=$(sed -n 's/^\(.*\):[0-9]*:[0-9]*: error: code should be clang-formatted.*/\1/p' \
        <<<"$report" | sort -u)
    if [ -n "$unformatted" ]; then
        printf 'Not formatted as .clang-format says:\n'
        sed 's/^/  /' <<<"$unformatted"
    else
        printf '%s\n' "$report"
    fi
    exit 1
fi
echo "All ${#files[@]} C++ files are formatted."
