#!/usr/bin/env bash
# Builds Hivora for release and packs it into a Debian package: scripts/build-deb.sh [DIR]
# (DIR defaults to build-deb). Prints the path of the .deb.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
dir=${1:-build-deb}
"$top/scripts/install-deps.sh"
"$top/scripts/build.sh" "$dir" -DCMAKE_BUILD_TYPE=Release -DHIVORA_TESTS=OFF >&2
cd "$top/$dir"
cpack -G DEB >&2
ls "$PWD"/hivora_*.deb
