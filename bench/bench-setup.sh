# Sourced by the bench scripts with their arguments, [BUILD_DIR] [RUNS]: sets top, build, runs,
# corpus, cli and a scratch folder `work` (removed on exit), and compiles the synthetic hive
# generator (export_synthetic_hive.cpp over the test hive builder and the build's core library)
# into "$work/synth".
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${1:-$top/build}
runs=${2:-3}
corpus=${HIVORA_CORPUS:-$top/.cache/corpus}
cli=$build/bin/hivora-cli
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
c++ -std=c++20 -O2 -I"$top/src" -I"$top/tests" -I"$build/src/generated" \
    "$top/bench/export_synthetic_hive.cpp" "$top/tests/support/HiveBuilder.cpp" \
    "$build/lib/libhivora.a" -lfmt -lpcre2-8 -pthread -o "$work/synth"
