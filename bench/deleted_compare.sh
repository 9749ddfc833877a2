#!/usr/bin/env bash
# Times hivora-cli deleted against reglookup-recover (Debian package reglookup) with hyperfine
# on the three large SYSTEM hives of the corpus. Both write to /dev/null.
#
#   bench/deleted_compare.sh [BUILD_DIR] [RUNS]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$top/build}
runs=${2:-5}
corpus=${HIVORA_CORPUS:-$top/.cache/corpus}
table=$(mktemp)
trap 'rm -f "$table"' EXIT
for hive in SYSTEM_WIN_10_1709 SYSTEM_B SYSTEM; do
    file=$corpus/regipy/$hive
    hyperfine --runs "$runs" --warmup 1 --style basic -i \
        -n "hivora-cli deleted $hive" "$build/bin/hivora-cli --system '$file' deleted" \
        -n "reglookup-recover $hive" "reglookup-recover -H '$file'" \
        --export-markdown "$table" >/dev/null 2>&1
    grep '^| `' "$table"
    for tool in "$build/bin/hivora-cli --system $file deleted" "reglookup-recover -H $file"; do
        /usr/bin/time -f "  CPU %U s user + %S s system: $tool" $tool >/dev/null 2>"$table" || true
        tail -1 "$table"
    done
done
