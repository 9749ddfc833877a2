// What the key tree shows below an item, without any window: the item's child keys, each
// probed for subkeys of its own, in the tree's order.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "hive/RegistryTypes.h"
#include "keys/KeyItemData.h"

namespace hivora {

// True when the key opens and has a first subkey.
bool KeyHasSubkeys(RootKey root, std::string_view subPath);

struct ChildKey {
    std::string name;  // whole, as UTF-8
    // Root and sub-path of the child, its last-write time; populated when the probe found no
    // subkeys (such an item gets no expand button and is never filled).
    KeyItemData data;
    bool hasSubkeys = false;
    // Where the child lies in the loaded hives (HiveKeyIdentity); 0 when unknown.
    uint64_t identity = 0;
};

// The subkeys of `parent` in enumeration order, up to the first refused enumeration; empty
// when the key does not open. Each child is probed through the handle its enumeration hands
// over (or opened by name below the parent), not by a fresh open from the root.
std::vector<ChildKey> EnumerateChildKeys(const KeyItemData& parent);

// Sorts children by name ignoring case, as the tree sorts one level of items.
void SortChildKeys(std::vector<ChildKey>& children);

// EnumerateChildKeys, sorted: what filling an item on its first expansion inserts.
std::vector<ChildKey> FillChildKeys(const KeyItemData& parent);

}  // namespace hivora
