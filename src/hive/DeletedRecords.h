// Keys and values that a hive has deleted but whose records are still readable in free cells,
// found by one scan of one hive image. Offsets here are cell offsets as the hive's own lists
// store them (file offset minus 0x1000).
//
// The records refer to the image they were scanned from (names, paths and data are read from
// it on demand), so a DeletedRecords must not outlive that image.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "hive/HiveRecords.h"
#include "hive/ImageView.h"
#include "hive/RegistryTypes.h"

namespace hivora {

class HiveImage;

// What a deleted record's parent (for a key) or owner (for a value) offset turned out to name.
enum class DeletedLink { kLiveKey, kDeletedKey, kUnknown };

struct DeletedKey {
    uint32_t offset = 0;
    uint32_t parentOffset = kNoCell;  // as the record stores it
    DeletedLink parent = DeletedLink::kUnknown;
    std::u16string name;
    FileTime lastWrite = 0;
    uint16_t flags = 0;
};

struct DeletedValue {
    uint32_t offset = 0;
    uint32_t keyOffset = kNoCell;  // the key whose value list named it; kNoCell when unknown
    DeletedLink key = DeletedLink::kUnknown;
    std::u16string name;
    uint32_t type = 0;
    uint32_t dataSize = 0;         // as the record states it (resident flag removed)
    bool dataRecoverable = false;  // the data bytes (or big-data segments) lie in free cells
    ValueData data;                // where they are, when recoverable
};

// A deleted key's path below its hive's root key. `complete` is false when the chain of
// parents breaks (or loops) before it reaches the root: the path then begins at the first
// key that is known.
struct DeletedKeyPath {
    std::vector<std::u16string> components;
    bool complete = false;
};

class DeletedRecords {
public:
    // Both ascending by offset.
    const std::vector<DeletedKey>& Keys() const { return keys_; }
    const std::vector<DeletedValue>& Values() const { return values_; }

    // Indexes into Keys() of the deleted keys (one pass over all records per call) whose parent is the (live or deleted) key at
    // `parentOffset`; of those whose parent is unknown.
    std::vector<size_t> KeysUnder(uint32_t parentOffset) const;
    std::vector<size_t> KeysWithUnknownParent() const;
    // Indexes into Values() of the deleted values of the (live or deleted) key at `keyOffset`;
    // of those whose key is unknown.
    std::vector<size_t> ValuesOf(uint32_t keyOffset) const;
    std::vector<size_t> ValuesWithUnknownKey() const;

    // Path of Keys()[index] below the root, its own name last.
    DeletedKeyPath KeyPath(size_t index) const;
    // Path of the live or deleted key at `keyOffset` (a live key's is always complete; the
    // root key's is empty). Nothing for an offset that names neither.
    std::optional<DeletedKeyPath> PathOfKey(uint32_t keyOffset) const;
    // The data bytes of Values()[index]; nothing when they are not recoverable.
    std::optional<std::vector<uint8_t>> ValueBytes(size_t index) const;

private:
    friend class DeletedRecordScanner;

    // Appends the names from the live key at `live` up to (not including) the root, leaf
    // first; true when the root was reached.
    bool AppendLiveNames(uint32_t live, std::vector<std::u16string>& names) const;

    ImageView image_;
    uint32_t rootOffset_ = kNoCell;
    std::vector<DeletedKey> keys_;
    std::vector<DeletedValue> values_;
    std::unordered_map<uint32_t, size_t> keyIndex_;       // deleted key offset -> index
    std::unordered_map<uint32_t, uint32_t> liveParent_;   // live key offset -> parent offset
};

// Scans one hive image. Linear in the image's size; never reads outside it.
DeletedRecords ScanDeletedRecords(const ImageView& image, uint32_t minorVersion,
                                  uint64_t rootCell);
DeletedRecords ScanDeletedRecords(const HiveImage& hive);

}  // namespace hivora
