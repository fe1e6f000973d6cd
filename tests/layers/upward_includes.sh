#!/bin/bash
# Fails when a source folder includes one above it. The order is the README's layout table, read from
# the top row down, so the table and the tree cannot drift apart.
set -euo pipefail
root=${1:-$(cd "$(dirname "$0")/../.." && pwd)}
cd "$root"

mapfile -t order < <(grep -oE '^\|[^|]*\| `src/[a-z_]+`' README.md | grep -oE 'src/[a-z_]+' | cut -d/ -f2)
if [ "${#order[@]}" -lt 2 ]; then
    echo "README.md: no layout table of the src folders found" >&2
    exit 1
fi
declare -A rank
for i in "${!order[@]}"; do rank[${order[$i]}]=$i; done

upward=0
for dir in src/*/; do
    from=$(basename "$dir")
    if [ -z "${rank[$from]+x}" ]; then
        echo "src/$from is not in the README's layout table" >&2
        upward=$((upward + 1))
        continue
    fi
    while IFS=: read -r file _ include; do
        to=$(sed -E 's/#include "([a-z_]+)\/.*/\1/' <<<"$include")
        [ -n "${rank[$to]+x}" ] || continue
        if [ "${rank[$to]}" -gt "${rank[$from]}" ]; then
            echo "$file includes $to/, a layer above src/$from" >&2
            upward=$((upward + 1))
        fi
    done < <(grep -nE '^#include "[a-z_]+/' -r "$dir" --include='*.h' --include='*.cpp' || true)
done
echo "upward includes: $upward"
[ "$upward" -eq 0 ]
