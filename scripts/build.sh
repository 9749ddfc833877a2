#!/usr/bin/env bash
# Configures and builds one build folder: scripts/build.sh DIR [CMAKE OPTIONS...]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
dir=$1
shift
launcher=()
if command -v ccache >/dev/null 2>&1; then
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S "$top" -B "$top/$dir" -G Ninja "${launcher[@]}" "$@" >/dev/null
cmake --build "$top/$dir" -- -j"$(nproc)"
