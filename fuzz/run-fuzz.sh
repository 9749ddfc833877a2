#!/usr/bin/env bash
# Runs every fuzz target of a fuzz build for SECONDS each, seeded with small corpus hives.
#   fuzz/run-fuzz.sh BUILD_DIR SECONDS
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=$top/${1:?build folder}
seconds=${2:-60}
seeds=$top/.cache/fuzz-seeds
mkdir -p "$seeds"
# Seeds: the small hives of the corpus (under 300 KB) and the repository's own fixtures.
if [ -d "$top/.cache/corpus" ]; then
    find "$top/.cache/corpus" -type f -size -300k -exec sh -c 'head -c 4 "$1" | grep -q regf' _ {} \; \
        -exec cp -t "$seeds" {} + 2>/dev/null || true
fi
if [ -d "$top/fuzz/fixtures" ]; then
    cp "$top"/fuzz/fixtures/* "$seeds"/ 2>/dev/null || true
fi
status=0
ran=0
for target in "$build"/bin/*_fuzzer; do
    [ -x "$target" ] || continue
    ran=$((ran + 1))
    work=$(mktemp -d)
    cp "$seeds"/* "$work"/ 2>/dev/null || true
    echo "fuzzing $(basename "$target") for ${seconds}s"
    if ! "$target" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 -max_len=1048576 \
           -artifact_prefix="$build/" "$work" 2>"$build/$(basename "$target").log"; then
        echo "fuzz target $(basename "$target") failed:"; tail -40 "$build/$(basename "$target").log"
        status=1
    fi
    rm -rf "$work"
done
if [ $ran -eq 0 ]; then
    echo "no fuzz targets in $build"
    exit 1
fi
[ $status -eq 0 ] && echo "fuzzing: $ran targets, 0 crashes"
exit $status
