#!/usr/bin/env bash
# Builds Hivora and packs it into a Debian package: scripts/build-deb.sh [DIR [CMAKE OPTIONS...]]
# (DIR defaults to build-deb). Prints the path of the .deb. The programs are built with the
# default optimised build type and stripped when packed.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
dir=${1:-build-deb}
shift || true
"$top/scripts/install-deps.sh"
"$top/scripts/build.sh" "$dir" -DHIVORA_TESTS=OFF "$@" >&2
cd "$top/$dir"
rm -f hivora_*.deb
cpack -G DEB >&2
ls "$PWD"/hivora_*.deb
