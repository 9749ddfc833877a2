// Keeps whole-tree walks (search, export, statistics) finite on hostile hives: a depth bound,
// and every key and every list of a hive visited at most once per walk, so that cycles and
// shared lists cannot make a walk loop or repeat work.
#pragma once

#include <cstdint>
#include <unordered_set>

#include "hive/RegistryTypes.h"

namespace hivora {

class WalkGuard {
public:
    // Windows allows 512 levels of keys.
    static constexpr int kMaxDepth = 512;

    struct Visit {
        bool enter = false;    // false: the key was walked before, or lies too deep
        bool values = false;   // walk its values
        bool subkeys = false;  // walk its subkeys
    };

    // Call once per key reached, with its depth below the walk's start (the start is 0).
    Visit Enter(HKEY key, int depth);

private:
    std::unordered_set<uint64_t> seenKeys_;
    std::unordered_set<uint64_t> seenLists_;
};

}  // namespace hivora
