#!/usr/bin/env bash
# Unpacks the shared hive corpus (../shared/hives beside the project) into .cache/corpus,
# where the corpus, oracle and benchmark code looks for it. Does nothing when it is absent.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
corpus_src=${HIVORA_SHARED_HIVES:-$top/../shared/hives}
if [ ! -x "$corpus_src/unpack.sh" ] && [ ! -f "$corpus_src/unpack.sh" ]; then
    echo "No hive corpus at $corpus_src: corpus tests will be skipped."
    exit 0
fi
mkdir -p "$top/.cache/corpus"
bash "$corpus_src/unpack.sh" "$top/.cache/corpus" >/dev/null
echo "Hive corpus ready in .cache/corpus"
