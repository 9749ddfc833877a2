# Sourced by the bench scripts: compiles the synthetic hive generator (export_synthetic_hive.cpp
# over the test hive builder and the build's core library) into "$2/synth".
#   build_synthetic_generator TOP BUILD_DIR WORK_DIR
build_synthetic_generator() {
    c++ -std=c++20 -O2 -I"$1/src" -I"$1/tests" -I"$2/src/generated" \
        "$1/bench/export_synthetic_hive.cpp" "$1/tests/support/HiveBuilder.cpp" \
        "$2/lib/libhivora.a" -lfmt -lpcre2-8 -pthread -o "$3/synth"
}
