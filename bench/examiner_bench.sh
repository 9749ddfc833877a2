#!/usr/bin/env bash
# Times the examiner's whole-set commands of hivora-cli: `search --all` on the largest corpus
# hive (every key by date, and a one-letter text), a regular-expression search that finds
# nothing and `timeline` on synthetic hives built with the test hive builder.
#
#   bench/examiner_bench.sh [BUILD_DIR] [RUNS]
set -euo pipefail
. "$(dirname "$0")/bench-setup.sh" "$@"

"$work/synth" "$work/SYNTHETIC" 300000 >&2
"$work/synth" "$work/SYNTHETIC_500K" 500000 >&2

# Runs "$@" $runs times; prints "median-wall median-cpu max-rss-MiB rows".
measure() {
    local out=$work/time.txt
    : >"$out"
    for _ in $(seq "$runs"); do
        /usr/bin/time -f "%e %U %S %M" -a -o "$out" "$@" >"$work/stdout" 2>"$work/stderr" || true
    done
    local middle=$(((runs + 1) / 2))
    local wall cpu rss
    sed -i "/^Command/d" "$out"  # time's note on a non-zero exit (a search finding nothing)
    wall=$(awk '{ print $1 }' "$out" | sort -n | sed -n "${middle}p")
    cpu=$(awk '{ printf "%.2f\n", $2 + $3 }' "$out" | sort -n | sed -n "${middle}p")
    rss=$(awk '{ print $4 }' "$out" | sort -n | tail -1)
    echo "$wall $cpu $((rss / 1024)) $(wc -l <"$work/stdout")"
}

system=$corpus/regipy/SYSTEM_WIN_10_1709
echo "what | wall s | cpu s | peak MiB | rows"
echo "search --after 1601-01-01 --all (SYSTEM_WIN_10_1709) | $(measure "$cli" --system "$system" search --after 1601-01-01 --all)"
echo "search e --all (SYSTEM_WIN_10_1709) | $(measure "$cli" --system "$system" search e --all)"
echo "search --regex, no hit (300,000 keys, 156 MB) | $(measure "$cli" --system "$work/SYNTHETIC" search --regex 'no[0-9]+such(text|name)')"
echo "timeline (500,000 keys) | $(measure "$cli" --system "$work/SYNTHETIC_500K" timeline)"
