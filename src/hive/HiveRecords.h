// Decoders for the records of a hive image: one reader per record kind, each checking the
// size, then the signature, then the variable parts, and returning a plain value or "absent".
//
// Positions: a CellOffset X names the cell at file offset 0x1000 + X; its record begins four
// bytes later. Functions here take and return "key cells" as file offsets of the cell.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "hive/HiveLayout.h"
#include "hive/ImageView.h"
#include "hive/RegistryTypes.h"

namespace hivora {

using layout::kHiveBinsStart;
using layout::kNoCell;

// File offset of the cell that CellOffset `offset` names.
inline uint64_t CellPosition(uint32_t offset) { return kHiveBinsStart + offset; }
// File offset of the record inside that cell.
inline uint64_t RecordPosition(uint32_t offset) {
    return kHiveBinsStart + offset + layout::kCellSizeWord;
}

struct KeyRecord {
    uint64_t cell = 0;  // file offset of the key's cell
    uint16_t flags = 0;
    FileTime lastWrite = 0;
    uint32_t subkeyCount = 0;
    uint32_t subkeyList = kNoCell;
    uint32_t valueCount = 0;
    uint32_t valueList = kNoCell;
    uint32_t classCell = kNoCell;
    uint16_t classLength = 0;  // bytes; 0 when there is no readable class name
    uint16_t nameLength = 0;   // bytes as stored
    uint64_t nameOffset = 0;   // file offset of the name bytes
    bool latin1Name = false;   // one byte per character

    uint32_t NameChars() const { return latin1Name ? nameLength : nameLength / 2u; }
};

// The key record in the cell at file offset `cell`, or nothing when it is not a readable
// "nk" record whose name lies inside the image.
std::optional<KeyRecord> ReadKeyRecord(const ImageView& image, uint64_t cell);

// The key's name (Latin-1 names widened) and class name.
std::u16string KeyName(const ImageView& image, const KeyRecord& key);
void AppendKeyName(const ImageView& image, const KeyRecord& key, std::u16string& out);
std::u16string KeyClassName(const ImageView& image, const KeyRecord& key);

// Case-insensitive comparison of a key's name with a UTF-16 component, folding ASCII only.
bool KeyNameEquals(const ImageView& image, const KeyRecord& key, std::u16string_view component);

// One leaf of a subkey list: `count` elements of `elementSize` bytes from `elements` on.
struct SubkeyLeaf {
    uint64_t elements = 0;
    uint32_t count = 0;
    uint32_t elementSize = 8;
};

// The leaves of a key's subkey list, in stored order. A root index ("ri") contributes each
// distinct readable leaf once; a leaf that is itself a root index is ignored. Counts are cut
// to what lies inside the image and, in total, to the key's subkey count.
struct SubkeyLeaves {
    std::vector<SubkeyLeaf> leaves;
    uint64_t total = 0;
    // Cells the list occupies (the list itself and, under a root index, each leaf).
    std::vector<uint32_t> cells;
};
SubkeyLeaves ReadSubkeyLeaves(const ImageView& image, const KeyRecord& key);

// CellOffset of element `index` of a leaf (the element is known to lie inside the image).
uint32_t LeafElement(const ImageView& image, const SubkeyLeaf& leaf, uint32_t index);

struct ValueRecord {
    uint16_t nameLength = 0;
    uint32_t dataLength = 0;  // raw field, bit 31 included
    uint32_t dataOffset = 0;
    uint32_t type = 0;
    uint16_t flags = 0;
    uint64_t record = 0;      // file offset of the record
    uint64_t nameOffset = 0;  // file offset of the name bytes

    bool Latin1Name() const { return (flags & layout::kValueFlagLatin1Name) != 0; }
    uint32_t NameChars() const { return Latin1Name() ? nameLength : nameLength / 2u; }
};

// Number of value-list elements that lie inside the image, cut to the key's value count.
uint32_t ValueListLength(const ImageView& image, const KeyRecord& key);
// The value record named by element `index` of the key's value list, or nothing when the
// element or its record cannot be read or is not a "vk" record.
std::optional<ValueRecord> ReadValueRecord(const ImageView& image, const KeyRecord& key,
                                           uint32_t index);
void AppendValueName(const ImageView& image, const ValueRecord& value, std::u16string& out);

// The value's data as the back end reports it. Data that cannot be read whole (an offset or
// size outside the image, a resident size above four bytes, a broken big-data record) is
// reported as empty; the type is never changed.
struct ValueData {
    uint32_t size = 0;
    // Where the bytes are: one contiguous run, or big-data segments.
    uint64_t contiguous = 0;
    bool segmented = false;
    uint64_t segmentList = 0;  // file offset of the segment list record (big data only)
};
ValueData LocateValueData(const ImageView& image, uint32_t minorVersion, const ValueRecord& value);
// Copies the first min(size, capacity) data bytes; returns how many were copied.
uint32_t CopyValueData(const ImageView& image, const ValueData& data, std::span<uint8_t> dest);

}  // namespace hivora
