// What the key tree adds below an item while deleted records are shown: the deleted keys
// whose parent is the item's key, and below each hive's root key a node that gathers the
// deleted keys whose parent is unknown.
#pragma once

#include <vector>

#include "keys/KeyItemData.h"
#include "keys/KeyTree.h"

namespace hivora {

inline constexpr const char* kDeletedGroupName = "(Deleted keys, parent unknown)";

// Appends to `children` (the live children of `parent`, already in the tree's order) the
// deleted ones, sorted by name, after the live ones; a live child that has deleted children
// only gets an expand button. Does nothing while deleted records are hidden.
void AddDeletedChildKeys(const KeyItemData& parent, std::vector<ChildKey>& children);

}  // namespace hivora
