#!/usr/bin/env bash
# Shows that the test suite catches real faults: plants one deliberate fault at a time in src/,
# rebuilds, runs ctest and reports which tests failed, then restores the file.
#   scripts/plant-faults.sh BUILD_DIR [FAULT...]     (faults: list type export walk favorites)
# Run it on a clean tree: each planted file is restored with `git checkout`.
set -uo pipefail
cd "$(dirname "$0")/.."
build=${1:?usage: scripts/plant-faults.sh BUILD_DIR [FAULT...]}
shift
faults=("$@")
[ ${#faults[@]} -eq 0 ] && faults=(list type export walk favorites)

# fault name -> file and a Python replacement of its first occurrence
declare -A file old new
file[list]=src/hive/HiveRecords.cpp
old[list]='std::min<uint64_t>(static_cast<uint64_t>(count), room)'
new[list]='std::min<uint64_t>(static_cast<uint64_t>(count) - 1, room)'
file[type]=src/values/ValueTypes.cpp
old[type]='{REG_DWORD,                        "REG_DWORD",'
new[type]='{REG_DWORD,                        "REG_DWORDX",'
file[export]=src/export/RegistryExport.cpp
old[export]='writer_.WriteValue(index, name, type'
new[export]='if (index != 1) writer_.WriteValue(index, name, type'
file[walk]=src/keys/RegistryWalker.cpp
old[walk]='        Charge(1);
        if (!subkey) {'
new[walk]='        {
            std::vector<char16_t> probe(kNameChars);
            uint32_t probeLength = kNameChars;
            HKEY probeKey = nullptr;
            const int32_t next = backend.enumKey(parent.key, index + 1, probe.data(), &probeLength,
                                                 nullptr, nullptr, nullptr, nullptr, &probeKey);
            RegKey closeProbe(probeKey);
            if (next != ERROR_SUCCESS) {
                break;
            }
        }
        Charge(1);
        if (!subkey) {'
file[favorites]=src/favorites/FavoriteStore.cpp
old[favorites]='favorite.subPath = settings.GetProfileString(section, Entry(i, '"'S'"'));'
new[favorites]=''

for fault in "${faults[@]}"; do
    f=${file[$fault]:?unknown fault $fault}
    if ! git diff --quiet -- "$f"; then
        echo "$f has local changes; not planting" >&2
        exit 2
    fi
    OLD=${old[$fault]} NEW=${new[$fault]} python3 - "$f" <<'EOF' || exit 2
import os, sys
path = sys.argv[1]
text = open(path, encoding="utf-8").read()
old, new = os.environ["OLD"], os.environ["NEW"]
if old not in text:
    sys.exit(f"{path}: the code to plant the fault in has moved")
open(path, "w", encoding="utf-8").write(text.replace(old, new, 1))
EOF
    echo "== fault '$fault' in $f"
    if ! cmake --build "$build" >/tmp/plant-$fault.log 2>&1; then
        echo "   does not build (see /tmp/plant-$fault.log)"
    else
        ctest --test-dir "$build" -j"$(nproc)" --timeout 600 >/tmp/plant-$fault.ctest 2>&1
        failed=$(grep -E '^\s+[0-9]+ - ' /tmp/plant-$fault.ctest | sed -E 's/^\s+[0-9]+ - ([^ ]+).*/\1/')
        count=$(printf '%s' "$failed" | grep -c . || true)
        if [ "$count" -eq 0 ]; then
            echo "   NOT CAUGHT"
        else
            echo "   caught by $count tests: $(printf '%s' "$failed" | head -n 8 | tr '\n' ' ')"
        fi
    fi
    git checkout -q -- "$f"
done
cmake --build "$build" >/dev/null 2>&1
