#!/usr/bin/env bash
# Checks the layers of src/ against the table of folders in docs/architecture.md: a file includes
# headers of its own folder's rank or of the ranks below it, never above, and a folder without Qt
# includes no Qt header. A header is named by its folder ("link/inv_dat.h") or, from a folder
# that links the one holding it, by its name alone ("qt_text.h").
set -euo pipefail
cd "$(dirname "$0")/.."

declare -A rank qt
while IFS='|' read -r _ number folders uses _; do
    number="${number// /}"
    [[ "$number" =~ ^[0-9]+$ ]] || continue
    for folder in $folders; do
        rank[${folder#src/}]=$number
        qt[${folder#src/}]="${uses// /}"
    done
done <docs/architecture.md
[ "${#rank[@]}" -gt 0 ] || { echo "No table of folders in docs/architecture.md." >&2; exit 1; }

# Where each header of src/ lives, for the includes that give its name alone.
declare -A home
while IFS= read -r header; do
    relative="${header#src/}"
    home[${header##*/}]="${relative%%/*}"
done < <(git ls-files 'src/*.h')

failures=0
fail() {
    echo "$1" >&2
    failures=$((failures + 1))
}

for dir in src/*/; do
    folder="$(basename "$dir")"
    if [ -z "${rank[$folder]:-}" ]; then
        fail "src/$folder is missing from the table of folders in docs/architecture.md"
        continue
    fi
    while IFS=: read -r file _ line; do
        if [[ "$line" =~ ^#include\ *\<(Q[A-Za-z]*)[\>/] ]]; then
            [ "${qt[$folder]}" = yes ] || fail "$file: ${BASH_REMATCH[1]} in a folder without Qt"
            continue
        fi
        [[ "$line" =~ ^#include\ *\"([^\"]+)\" ]] || continue
        name="${BASH_REMATCH[1]}"
        if [[ "$name" == */* ]]; then
            target="${name%%/*}"
        elif [ -e "$(dirname "$file")/$name" ]; then
            continue
        else
            target="${home[$name]:-}"
        fi
        [ -n "$target" ] && [ -n "${rank[$target]:-}" ] || continue
        if [ "${rank[$target]}" -lt "${rank[$folder]}" ]; then
            fail "$file includes $name: src/$target is above src/$folder"
        fi
    done < <(git grep -n -E '^#include' -- "$dir")
done

if [ "$failures" -gt 0 ]; then
    echo "$failures include(s) against the layers of docs/architecture.md." >&2
    exit 1
fi
echo "Layers: every include of src/ points down or sideways (docs/architecture.md)."
