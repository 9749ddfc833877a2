// The address of a key in the tree (root and sub-path), its path texts and the child listing
// with the probe, as the key tree needs them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "hive/RegistryTypes.h"

namespace hivora::ui {

struct KeyItemData {
    bool populated = false;
    FileTime lastWrite = 0;
    std::string subPath;
    RootKey root = 0;
};

std::string_view GetRootKeyName(RootKey root);
std::string_view GetRootLabel();

// The local calendar date of the record's last write, "%d-%m-%Y".
std::string FormatKeyDate(const KeyItemData& record);

// The path text of a record (nullptr: the top item, whose text is the root label).
std::string KeyPathText(const KeyItemData* record, bool withDate, bool withRootLabel);

// Opens the key and asks for its first subkey.
bool KeyHasSubkeys(RootKey root, std::string_view subPath);

struct ChildKey {
    std::string name;
    KeyItemData record;
    bool hasSubkeys = false;
};

// The subkeys of `parent` in enumeration order, each probed for subkeys of its own; the
// listing stops at the first enumeration that fails. Empty when the key does not open.
std::vector<ChildKey> EnumChildKeys(const KeyItemData& parent);

}  // namespace hivora::ui
