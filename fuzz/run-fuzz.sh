#!/usr/bin/env bash
# Runs every fuzz target of a fuzz build for SECONDS each, seeded with small corpus hives.
#   fuzz/run-fuzz.sh BUILD_DIR SECONDS
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=$top/${1:?build folder}
seconds=${2:-60}
seeds=$top/.cache/fuzz-seeds
corpus=${HIVORA_CORPUS:-$top/.cache/corpus}
mkdir -p "$seeds"
# Seeds: the small hives of the corpus (under 300 KB) and the repository's own fixtures.
if [ -d "$corpus" ]; then
    find "$corpus" -type f -size -300k -exec sh -c 'head -c 4 "$1" | grep -q regf' _ {} \; \
        -exec cp -t "$seeds" {} + 2>/dev/null || true
fi
if [ -d "$top/fuzz/fixtures" ]; then
    cp "$top"/fuzz/fixtures/* "$seeds"/ 2>/dev/null || true
fi
# Seeds of the log target: option byte 1 (re-hash entries), a small dirty hive and its logs,
# joined by the separator log_fuzzer.cpp splits on.
log_seeds=$top/.cache/fuzz-seeds-logs
log_seconds=${LOG_FUZZ_SECONDS:-$(( seconds < 30 ? seconds : 30 ))}
mkdir -p "$log_seeds"
if [ -d "$corpus" ]; then
    n=0
    while IFS= read -r log1; do
        hive=${log1%.*}
        [ -f "$hive" ] && [ "$(stat -c %s "$hive")" -lt 600000 ] || continue
        n=$((n + 1))
        { printf '\001'; cat "$hive"; printf -- '--hivora-log--'; cat "$log1"
          if [ -f "$hive.LOG2" ]; then printf -- '--hivora-log--'; cat "$hive.LOG2"; fi
        } >"$log_seeds/seed$n"
    done < <(find "$corpus" -type f -name '*.LOG1' -size -400k)
fi
status=0
ran=0
for target in "$build"/bin/*_fuzzer; do
    [ -x "$target" ] || continue
    ran=$((ran + 1))
    work=$(mktemp -d)
    target_seconds=$seconds
    if [ "$(basename "$target")" = log_fuzzer ]; then
        cp "$log_seeds"/* "$work"/ 2>/dev/null || true
        target_seconds=$log_seconds
    else
        cp "$seeds"/* "$work"/ 2>/dev/null || true
    fi
    echo "fuzzing $(basename "$target") for ${target_seconds}s"
    if ! "$target" -max_total_time="$target_seconds" -rss_limit_mb=2048 -timeout=10 -max_len=1048576 \
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
