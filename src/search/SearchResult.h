// One search hit.
#pragma once

#include <string>
#include <string_view>

#include "hive/RegistryTypes.h"

namespace hivora {

enum class MatchKind : int { KeyName = 0, ValueName = 1, ValueData = 2, KeyDate = 3 };

// How a kind of hit is named: the command line's token and the results pane's label.
struct MatchKindNames {
    std::string_view token;
    std::string_view label;
};
inline constexpr MatchKindNames kMatchKindNames[] = {
    {"KeyName", "Key name"}, {"ValueName", "Value name"}, {"ValueData", "Data"},
    {"KeyDate", "Last write"}};
inline const MatchKindNames& NamesOf(MatchKind kind) {
    return kMatchKindNames[static_cast<int>(kind)];
}

// The value name of a key hit: a line feed, which sorts before every printable name.
inline constexpr const char* kKeyHitValueName = "\n";
// The name a hit gives the unnamed value.
inline constexpr const char* kUnnamedValueHitName = "(default)";

struct SearchResult {
    std::string keyPath;    // "HKEY_LOCAL_MACHINE\..." or "HKEY_USERS\..."
    std::string valueName;  // kKeyHitValueName for key hits
    MatchKind kind = MatchKind::KeyName;
    FileTime lastWrite = 0;  // the hit key's last-write time
    // Hits on deleted records: the hive image's generation (0 for live hits), the record's
    // cell offset, and the deleted key to select (the hit key, or a value's deleted key; 0
    // when the value's key is live or unknown). keyPath names the key as the tree shows it.
    uint32_t deletedHive = 0;
    uint32_t deletedOffset = 0;
    uint32_t deletedKey = 0;

    // A value hit's data as the values list shows it, shortened; empty for key hits.
    std::string data;
    bool operator==(const SearchResult&) const = default;
};

}  // namespace hivora
