// A whole-tree walk through the back end's enumeration calls, the way the program's readers
// walk (RegistryReader helpers over RegistryWalker), for tests that count or compare trees.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "hive/RegistryReader.h"

namespace hivora::test {

struct WalkedValue {
    std::u16string name;
    uint32_t type = 0;
    uint32_t size = 0;  // as the size query reported it
    std::vector<uint8_t> data;
};

// Both callbacks must be set.
struct TreeVisitor {
    // Called for every key entered; `path` is relative to the start ("" for the start).
    std::function<void(const std::u16string& path, int depth)> onKey;
    std::function<void(const std::u16string& path, const WalkedValue& value)> onValue;
};

void WalkTree(HKEY start, const TreeVisitor& visitor);

struct TreeSummary {
    uint64_t keys = 0;
    uint64_t values = 0;
    uint64_t dataBytes = 0;
    int maxDepth = 0;
    uint64_t pathDigest = 0;  // FNV-1a over the UTF-8 key paths in walk order
};
TreeSummary SummarizeTree(HKEY start);

}  // namespace hivora::test
