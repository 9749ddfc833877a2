// Keeps whole-tree walks (search, export, statistics) finite on hostile hives: a depth bound,
// and every key and every list of a hive visited at most once per walk, so that cycles and
// shared lists cannot make a walk loop or repeat work.
#pragma once

#include <cstdint>
#include <unordered_map>
#include <unordered_set>
#include <vector>

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
    // The cells met so far, as the footprint numbers them (image tag above bit 34, file offset
    // below). Cells of a hive are 8-byte aligned, so one bit per 8 bytes of image records
    // them exactly; a hostile, unaligned offset goes to a plain set instead.
    class SeenCells {
    public:
        bool Insert(uint64_t cell);  // true the first time

    private:
        uint64_t lastImage_ = ~uint64_t{0};
        std::vector<uint64_t>* lastBits_ = nullptr;
        std::unordered_map<uint64_t, std::vector<uint64_t>> bits_;
        std::unordered_set<uint64_t> unaligned_;
    };
    SeenCells seenKeys_;
    SeenCells seenLists_;
};

}  // namespace hivora
