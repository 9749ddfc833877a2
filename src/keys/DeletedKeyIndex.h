// The deleted keys and values the key tree and the values list show on request: each loaded
// hive is scanned once, on first use, and its records are indexed by the key they belong to.
// The indexes live as long as the images they were scanned from; a replaced file set drops
// them.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "hive/DeletedRecords.h"
#include "hive/RegistryTypes.h"

namespace hivora {

class DeletedHiveIndex {
public:
    DeletedHiveIndex(uint32_t generation, DeletedRecords records);

    uint32_t Generation() const { return generation_; }
    const DeletedRecords& Records() const { return records_; }
    // Indexes into Records().Keys(), Values(); each list in offset order.
    const std::vector<size_t>& KeysUnder(uint32_t keyOffset) const;
    const std::vector<size_t>& ValuesOf(uint32_t keyOffset) const;
    const std::vector<size_t>& KeysWithUnknownParent() const { return orphanKeys_; }
    const std::vector<size_t>& ValuesWithUnknownKey() const { return orphanValues_; }
    // The index into Records().Keys() of the deleted key at this cell offset.
    std::optional<size_t> KeyAt(uint32_t offset) const;
    bool HasOrphans() const { return !orphanKeys_.empty() || !orphanValues_.empty(); }

private:
    uint32_t generation_;
    DeletedRecords records_;
    std::unordered_map<uint32_t, std::vector<size_t>> keysUnder_;
    std::unordered_map<uint32_t, std::vector<size_t>> valuesOf_;
    std::vector<size_t> orphanKeys_;
    std::vector<size_t> orphanValues_;
    std::unordered_map<uint32_t, size_t> keyAt_;
};

// Whether the tree and the values list show deleted records (off until switched on).
bool DeletedRecordsShown();
void ShowDeletedRecords(bool shown);

// The index of the loaded hive image with this generation, scanned on first use; nullptr when
// no loaded image has it. Indexes of images no longer loaded are dropped on the way.
const DeletedHiveIndex* DeletedIndexOf(uint32_t generation);
// Drops every index (the file set was replaced).
void DropDeletedIndexes();

// Where a live key lies: its hive image's generation and its cell offset.
struct LiveKeyPlace {
    uint32_t generation = 0;
    uint32_t offset = 0;
    bool hiveRoot = false;  // the root key of its hive
};
// Of a key identity as HiveKeyIdentity reports it; nothing for 0 or an image not loaded.
std::optional<LiveKeyPlace> PlaceOfIdentity(uint64_t identity);
// Of the live key at root and sub-path; nothing when it does not open or is no hive key.
std::optional<LiveKeyPlace> PlaceOfKey(RootKey root, std::string_view subPath);

}  // namespace hivora
