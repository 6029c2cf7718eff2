#!/usr/bin/env bash
# Checks that every C++ file of the tree is formatted as .clang-format says; lists the ones that
# are not and fails. Fix them with: clang-format -i FILE (or git clang-format on staged changes).
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t files < <(git ls-files '*.cpp' '*.h')
unformatted=()
for file in "${files[@]}"; do
    if ! clang-format --dry-run --Werror "$file" >/dev/null 2>&1; then
        unformatted+=("$file")
    fi
done
if ((${#unformatted[@]})); then
    printf 'Not formatted as .clang-format says:\n'
    printf '  %s\n' "${unformatted[@]}"
    exit 1
fi
echo "All ${#files[@]} C++ files are formatted."
