#include "hive/HiveRecords.h"

#include <algorithm>
#include <unordered_set>

#include "support/CaseFold.h"

namespace hivora {
namespace {

using namespace layout;

constexpr uint64_t kMinKeyCellSize = kKeyFixedSize + kCellSizeWord;  // no two subkeys share fewer bytes
constexpr uint64_t kMinValueCellSize = kValueFixedSize + kCellSizeWord;  // likewise for values

// Name bytes are checked against the image once, when the record is read.
char16_t NameUnit(const ImageView& image, uint64_t nameOffset, bool latin1, uint32_t index) {
    if (latin1) {
        return image.U8(nameOffset + index).value_or(0);
    }
    return image.U16(nameOffset + 2ull * index).value_or(0);
}

}  // namespace

std::optional<KeyRecord> ReadKeyRecord(const ImageView& image, uint64_t cell) {
    const uint64_t at = cell + kCellSizeWord;
    const ImageView record = image.Sub(at, kKeyFixedSize);
    if (!record || !record.HasSignature(0, 'n', 'k')) {
        return std::nullopt;
    }
    KeyRecord key;
    key.cell = cell;
    key.flags = *record.U16(kKeyFlags);
    key.lastWrite = *record.U64(kKeyLastWrite);
    key.subkeyCount = *record.U32(kKeySubkeyCount);
    key.subkeyList = *record.U32(kKeySubkeyList);
    key.valueCount = *record.U32(kKeyValueCount);
    key.valueList = *record.U32(kKeyValueList);
    key.classCell = *record.U32(kKeyClass);
    const auto nameLength = static_cast<int16_t>(*record.U16(kKeyNameLength));
    key.classLength = *record.U16(kKeyClassLength);
    if (nameLength < 0) {
        return std::nullopt;
    }
    key.nameLength = static_cast<uint16_t>(nameLength);
    key.nameOffset = at + kKeyFixedSize;
    key.latin1Name = (key.flags & kKeyFlagLatin1Name) != 0;
    if (!image.Contains(key.nameOffset, key.nameLength)) {
        return std::nullopt;
    }
    if (key.classLength != 0 && !image.Contains(RecordPosition(key.classCell), key.classLength)) {
        key.classLength = 0;  // a class name outside the image is no class name
    }
    return key;
}

void AppendKeyName(const ImageView& image, const KeyRecord& key, std::u16string& out) {
    const uint32_t chars = key.NameChars();
    out.reserve(out.size() + chars);
    for (uint32_t i = 0; i < chars; ++i) {
        out.push_back(NameUnit(image, key.nameOffset, key.latin1Name, i));
    }
}

std::u16string KeyName(const ImageView& image, const KeyRecord& key) {
    std::u16string name;
    AppendKeyName(image, key, name);
    return name;
}

std::u16string KeyClassName(const ImageView& image, const KeyRecord& key) {
    std::u16string name;
    const uint32_t chars = key.classLength / 2u;
    const uint64_t at = RecordPosition(key.classCell);
    name.reserve(chars);
    for (uint32_t i = 0; i < chars; ++i) {
        name.push_back(image.U16(at + 2ull * i).value_or(0));
    }
    return name;
}

bool KeyNameEquals(const ImageView& image, const KeyRecord& key, std::u16string_view component) {
    if (key.NameChars() != component.size()) {
        return false;
    }
    for (uint32_t i = 0; i < component.size(); ++i) {
        if (FoldAscii(NameUnit(image, key.nameOffset, key.latin1Name, i)) != FoldAscii(component[i])) {
            return false;
        }
    }
    return true;
}

SubkeyLeaves ReadSubkeyLeaves(const ImageView& image, const KeyRecord& key) {
    SubkeyLeaves result;
    if (static_cast<int32_t>(key.subkeyCount) < 1) {
        return result;
    }
    const uint64_t limit = std::min<uint64_t>(key.subkeyCount, image.size() / kMinKeyCellSize);

    // A leaf list at `cell`: its readable elements, or nothing.
    auto readLeaf = [&](uint32_t listCell, bool allowIndexRoot, bool& isIndexRoot) {
        SubkeyLeaf leaf;
        isIndexRoot = false;
        const uint64_t at = RecordPosition(listCell);
        const auto signature = image.U16(at);
        const auto rawCount = image.U16(at + kListCount);
        if (!signature || !rawCount) {
            return leaf;
        }
        const auto count = static_cast<int16_t>(*rawCount);
        if (image.HasSignature(at, 'r', 'i')) {
            isIndexRoot = true;
            if (!allowIndexRoot) {
                return leaf;  // a root index below a root index is not followed
            }
            leaf.elementSize = 4;
        } else {
            leaf.elementSize = image.HasSignature(at, 'l', 'i') ? 4 : 8;
        }
        leaf.elements = at + kListElements;
        if (count >= 1 && image.Contains(leaf.elements, 0)) {
            const uint64_t room = (image.size() - leaf.elements) / leaf.elementSize;
            leaf.count = static_cast<uint32_t>(std::min<uint64_t>(static_cast<uint64_t>(count), room));
        }
        return leaf;
    };

    bool isIndexRoot = false;
    const SubkeyLeaf top = readLeaf(key.subkeyList, true, isIndexRoot);
    if (top.count == 0) {
        return result;
    }
    result.cells.push_back(key.subkeyList);
    auto addLeaf = [&](SubkeyLeaf leaf) {
        const uint64_t room = limit - result.total;
        leaf.count = static_cast<uint32_t>(std::min<uint64_t>(leaf.count, room));
        if (leaf.count != 0) {
            result.total += leaf.count;
            result.leaves.push_back(leaf);
        }
    };
    if (!isIndexRoot) {
        addLeaf(top);
        return result;
    }
    std::unordered_set<uint32_t> seen{key.subkeyList};
    for (uint32_t i = 0; i < top.count && result.total < limit; ++i) {
        const uint32_t leafCell = image.U32Or(top.elements + 4ull * i, kNoCell);
        if (!seen.insert(leafCell).second) {
            continue;  // a leaf listed twice is read once
        }
        bool nested = false;
        const SubkeyLeaf leaf = readLeaf(leafCell, false, nested);
        if (!nested && leaf.count != 0) {
            result.cells.push_back(leafCell);
            addLeaf(leaf);
        }
    }
    return result;
}

uint32_t LeafElement(const ImageView& image, const SubkeyLeaf& leaf, uint32_t index) {
    return image.U32Or(leaf.elements + static_cast<uint64_t>(leaf.elementSize) * index, kNoCell);
}

uint32_t ValueListLength(const ImageView& image, const KeyRecord& key) {
    if (key.valueCount == 0) {
        return 0;
    }
    const uint64_t at = RecordPosition(key.valueList);
    if (!image.Contains(at, 0)) {
        return 0;
    }
    const uint64_t room = (image.size() - at) / 4;
    const uint64_t cap = image.size() / kMinValueCellSize;
    return static_cast<uint32_t>(std::min<uint64_t>({key.valueCount, room, cap}));
}

std::optional<ValueRecord> ReadValueRecord(const ImageView& image, const KeyRecord& key,
                                           uint32_t index) {
    const auto element = image.U32(RecordPosition(key.valueList) + 4ull * index);
    if (!element) {
        return std::nullopt;
    }
    const uint64_t at = RecordPosition(*element);
    const ImageView record = image.Sub(at, kValueFixedSize);
    if (!record || !record.HasSignature(0, 'v', 'k')) {
        return std::nullopt;
    }
    ValueRecord value;
    const auto nameLength = static_cast<int16_t>(*record.U16(kValueNameLength));
    if (nameLength < 0) {
        return std::nullopt;
    }
    value.nameLength = static_cast<uint16_t>(nameLength);
    value.dataLength = *record.U32(kValueDataLength);
    value.dataOffset = *record.U32(kValueDataOffset);
    value.type = *record.U32(kValueType);
    value.flags = *record.U16(kValueFlags);
    value.record = at;
    value.nameOffset = at + kValueFixedSize;
    if (!image.Contains(value.nameOffset, value.nameLength)) {
        return std::nullopt;
    }
    return value;
}

void AppendValueName(const ImageView& image, const ValueRecord& value, std::u16string& out) {
    const uint32_t chars = value.NameChars();
    out.reserve(out.size() + chars);
    for (uint32_t i = 0; i < chars; ++i) {
        out.push_back(NameUnit(image, value.nameOffset, value.Latin1Name(), i));
    }
}

ValueData LocateValueData(const ImageView& image, uint32_t minorVersion, const ValueRecord& value) {
    ValueData data;
    if (value.dataLength == kDataResident) {
        return data;  // how Windows stores an empty value
    }
    if (value.dataLength & kDataResident) {
        const uint32_t size = value.dataLength & ~kDataResident;
        if (size <= 4) {
            data.size = size;
            data.contiguous = value.record + kValueDataOffset;
        }
        return data;
    }
    const uint32_t size = value.dataLength;
    if (size == 0 || size > image.size()) {
        return data;
    }
    const uint64_t cell = RecordPosition(value.dataOffset);
    if (size > kBigDataSegmentBytes && minorVersion >= kBigDataMinorVersion && image.HasSignature(cell, 'd', 'b')) {
        const uint32_t segments = image.U16Or(cell + kBigDataSegmentCount, 0);
        const uint64_t list = RecordPosition(image.U32Or(cell + kBigDataSegmentList, kNoCell));
        const uint32_t needed = (size + kBigDataSegmentBytes - 1) / kBigDataSegmentBytes;
        if (needed > segments || !image.Contains(list, 4ull * needed)) {
            return data;
        }
        uint32_t remaining = size;
        for (uint32_t i = 0; i < needed; ++i) {
            const uint32_t part = std::min(remaining, kBigDataSegmentBytes);
            if (!image.Contains(RecordPosition(*image.U32(list + 4ull * i)), part)) {
                return data;
            }
            remaining -= part;
        }
        data.size = size;
        data.segmented = true;
        data.segmentList = list;
        return data;
    }
    if (image.Contains(cell, size)) {
        data.size = size;
        data.contiguous = cell;
    }
    return data;
}

uint32_t CopyValueData(const ImageView& image, const ValueData& data, std::span<uint8_t> dest) {
    const auto wanted = static_cast<uint32_t>(std::min<uint64_t>(data.size, dest.size()));
    if (wanted == 0) {
        return 0;
    }
    if (!data.segmented) {
        return image.CopyTo(data.contiguous, wanted, dest.data()) ? wanted : 0;
    }
    uint32_t done = 0;
    for (uint32_t i = 0; done < wanted; ++i) {
        const uint32_t part = std::min(wanted - done, kBigDataSegmentBytes);
        const uint64_t segment = RecordPosition(image.U32Or(data.segmentList + 4ull * i, kNoCell));
        if (!image.CopyTo(segment, part, dest.data() + done)) {
            break;
        }
        done += part;
    }
    return done;
}

}  // namespace hivora
