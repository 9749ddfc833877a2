#!/bin/sh
# Fails when a core source file (anything under src/ but src/shell/ and src/*/ui/) includes Qt.
src=${1:?usage: check_core_has_no_qt.sh SRC_DIR}
hits=$(grep -rlE '#[[:space:]]*include[[:space:]]*[<"]Q[A-Za-z]+' "$src" --include='*.h' --include='*.cpp' \
       | grep -v -e '/shell/' -e '/ui/' || true)
if [ -n "$hits" ]; then
    echo "core files include Qt:"
    echo "$hits"
    exit 1
fi
echo "core is free of Qt"
