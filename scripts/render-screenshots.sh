#!/usr/bin/env bash
# Renders the desktop program's windows and dialogs on the sample hives (offscreen) into
# BUILD/screenshots and refreshes the pictures the help pages use.
# Usage: scripts/render-screenshots.sh [BUILD-DIR]   (default: build)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-build}
case $build in /*) ;; *) build=$top/$build ;; esac
"$top/scripts/unpack-samples.sh" >/dev/null
cmake --build "$build" --target hivora_screenshots -- -j"$(nproc)"
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} TZ=UTC LC_ALL=C.UTF-8
"$build/bin/hivora_screenshots"
for picture in registry-window find binary-data manage-favorites; do
    cp "$build/screenshots/$picture.png" "$top/help/images/$picture.png"
done
echo "screenshots in $build/screenshots; help/images refreshed"
