// What the key tree keeps for each key item, and what the navigation history copies: the
// key's address (root and sub-path), its last-write time and whether its children are filled.
#pragma once

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

    bool operator==(const KeyItemData&) const = default;
};

}  // namespace hivora
