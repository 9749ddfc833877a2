// Root key names and the text forms of a key's path.
#pragma once

#include <string>
#include <string_view>
#include <utility>

#include "hive/RegistryTypes.h"
#include "keys/KeyItemData.h"

namespace hivora {

inline constexpr const char* kRootLabel = "Hivora Registry";

// "HKEY_LOCAL_MACHINE" and the other predefined roots; "UNDEFINED" for any other number.
const char* GetRootKeyName(RootKey root);
const char* GetRootLabel();

// The last-write date in the local time zone as "dd-mm-yyyy"; empty when the time cannot be
// converted.
std::string FormatKeyDate(FileTime lastWrite);
std::string FormatKeyDate(const KeyItemData& record);

// The path text of a key item; `record` is null for the top item (or no item), whose text is
// the root label whatever the flags say. Plain: "HKEY_USERS\S-1-5-18"; labelled: the root
// label in front; dated: " (dd-mm-yyyy)" behind, for keys below a root only.
std::string FormatKeyPath(const KeyItemData* record, bool withDate, bool withRootLabel);

// The path text of a root and sub-path, as the walk that selects a key takes it: the root's
// name, "\" and the sub-path (so the root key itself ends in "\").
std::string RootAndSubPath(RootKey root, std::string_view subPath);

// The text before the first "\" and the text after it; without a "\", the whole path and an
// empty rest.
std::pair<std::string_view, std::string_view> SplitFirstComponent(std::string_view path);

// The text after the last "\" (the whole text when it has none).
std::string_view LastComponent(std::string_view path);

// The sub-path of a child named `name` below `parentSubPath`.
std::string ChildSubPath(std::string_view parentSubPath, std::string_view name);

}  // namespace hivora
