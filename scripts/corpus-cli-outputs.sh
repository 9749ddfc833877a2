#!/usr/bin/env bash
# Writes hivora-cli's output for every hive of a corpus folder into OUT, one file per hive and
# command, so that two builds can be compared with `diff -r`:
#   scripts/corpus-cli-outputs.sh CLI CORPUS OUT [EXTRA CLI OPTIONS...]
# Each hive is loaded alone in the SOFTWARE slot; the whole-tree exports cover every key and value.
set -uo pipefail
cli=$1 corpus=$2 out=$3
shift 3
mkdir -p "$out"
find "$corpus" -type f ! -iname '*.log*' | sort | while read -r hive; do
    head -c 4 "$hive" 2>/dev/null | grep -q regf || continue
    name=$(realpath --relative-to="$corpus" "$hive" | tr '/' '_')
    for cmd in export-reg export-text stats describe; do
        "$cli" "$@" --software "$hive" "$cmd" > "$out/$name.$cmd" 2>&1
        echo "exit $?" >> "$out/$name.$cmd"
    done
    "$cli" "$@" --software "$hive" search --after 1601-01-02 --all > "$out/$name.timeline" 2>&1
    echo "exit $?" >> "$out/$name.timeline"
done
