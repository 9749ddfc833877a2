#!/usr/bin/env bash
# Unpacks the bundled sample file set (samples/*.xz) into .cache/samples.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
out="$top/.cache/samples"
mkdir -p "$out"
for packed in "$top"/samples/*.xz; do
    name=$(basename "$packed" .xz)
    if [ ! -f "$out/$name" ] || [ "$packed" -nt "$out/$name" ]; then
        xz -dc "$packed" > "$out/$name.tmp" && mv "$out/$name.tmp" "$out/$name"
    fi
done
echo "$out"
