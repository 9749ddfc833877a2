// What the key tree keeps for each key item, and what the navigation history copies: the
// key's address (root and sub-path), its last-write time and whether its children are filled.
#pragma once

#include <cstdint>
#include <string>

#include "hive/RegistryTypes.h"

namespace hivora {

struct KeyItemData {
    // Set once the item's children are filled in, or once the key is known to have none.
    bool populated = false;
    // As the parent's subkey enumeration reported it; root keys have none and leave it 0.
    FileTime lastWrite = 0;
    // Key names from the root down, joined by "\"; empty for the root key itself.
    std::string subPath;
    RootKey root = 0;

    // Items of deleted records, shown on request: a deleted key, or the node below a hive's
    // root that gathers the deleted keys whose parent is unknown. Their sub-path names them
    // for display only: opening it may find a live key of the same name.
    enum class Origin : uint8_t { kLive, kDeletedKey, kDeletedGroup };
    Origin origin = Origin::kLive;
    uint32_t hiveGeneration = 0;  // of the hive image the record was found in
    uint32_t deletedOffset = 0;   // the deleted key's cell offset
    bool IsDeleted() const { return origin != Origin::kLive; }

    bool operator==(const KeyItemData&) const = default;
};

}  // namespace hivora
