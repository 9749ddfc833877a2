#!/usr/bin/env bash
# Side-by-side timing of hivora-cli's exports and statistics against the peer tools
# (hivexml, hivexregedit --export, reglookup) on the largest corpus hive and on a large
# synthetic hive built with the test hive builder.
#
#   bench/export_compare.sh [BUILD_DIR] [RUNS]
#
# Prints one Markdown table row per tool and file: the median wall time, the median CPU time
# (user + system) and the largest resident set of the runs. Needs HIVORA_CORPUS (or the
# corpus unpacked at .cache/corpus) and the peer tools on PATH.
set -euo pipefail
. "$(dirname "$0")/bench-setup.sh" "$@"

# The synthetic hive: 300,000 keys and 880,000 values, about 156 MB.
"$work/synth" "$work/SYNTHETIC" "${SYNTHETIC_KEYS:-300000}" >&2

# Runs "$@" $runs times; prints "median-wall median-cpu max-rss-MiB".
measure() {
    local out=$work/time.txt
    : >"$out"
    for _ in $(seq "$runs"); do
        /usr/bin/time -f "%e %U %S %M" -a -o "$out" "$@" >/dev/null 2>"$work/stderr" || {
            cat "$work/stderr" >&2
            return 1
        }
    done
    local middle=$(((runs + 1) / 2))
    local wall cpu rss
    wall=$(awk '{ print $1 }' "$out" | sort -n | sed -n "${middle}p")
    cpu=$(awk '{ printf "%.2f\n", $2 + $3 }' "$out" | sort -n | sed -n "${middle}p")
    rss=$(awk '{ print $4 }' "$out" | sort -n | tail -1)
    echo "$wall $cpu $((rss / 1024))"
}

row() {
    local label=$1 file=$2
    shift 2
    read -r wall cpu rss < <(measure "$@")
    printf '| %s | %s | %s | %s | %s |\n' "$label" "$(basename "$file")" "$wall" "$cpu" "$rss"
}

echo "| Command | Hive | Wall s (median) | CPU s (median) | Peak RSS MiB |"
echo "|---|---|---|---|---|"
for hive in "$corpus/regipy/SYSTEM_WIN_10_1709" "$work/SYNTHETIC"; do
    row "hivora-cli describe (load only)" "$hive" "$cli" --system "$hive" describe
    row "hivora-cli stats" "$hive" "$cli" --system "$hive" stats
    row "hivora-cli export-reg" "$hive" "$cli" --system "$hive" export-reg -o "$work/out.reg"
    row "hivora-cli export-text" "$hive" "$cli" --system "$hive" export-text -o "$work/out.txt"
    row "hivexml" "$hive" sh -c 'hivexml "$1" >"$2"' _ "$hive" "$work/out.xml"
    row "reglookup" "$hive" sh -c 'reglookup "$1" >"$2"' _ "$hive" "$work/out.rl"
    row "hivexregedit --export" "$hive" \
        sh -c 'hivexregedit --export "$1" "\\" >"$2" 2>/dev/null' _ "$hive" "$work/out.hx"
done
