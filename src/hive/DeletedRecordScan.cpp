// The scan behind ScanDeletedRecords: one pass over the bins' cells, one walk of the live tree,
// then links between what was found, all indexed by cell offset so that nothing is searched
// twice. Every loop over a list stated in the image draws on a budget proportional to the
// image's size, so a hostile hive cannot make the scan quadratic.
#include <algorithm>
#include <unordered_set>

#include "hive/DeletedRecords.h"
#include "hive/HiveCellMap.h"
#include "hive/HiveSet.h"

namespace hivora {
namespace {

constexpr uint64_t kKeyFixedSize = 0x4C;
constexpr uint64_t kValueFixedSize = 0x14;
constexpr uint32_t kMaxKeyNameBytes = 512;       // 255 characters, with room to spare
constexpr uint32_t kMaxValueNameBytes = 32767;
constexpr uint32_t kBigDataSegmentBytes = 16344;
constexpr uint32_t kResidentData = 0x80000000u;

uint32_t CellOffsetOf(uint64_t cellPosition) {
    return static_cast<uint32_t>(cellPosition - kHiveBinsStart);
}

// True when `length` name bytes at `at` hold no NUL unit (and, for key names, no backslash).
bool NameIsPlausible(const ImageView& image, uint64_t at, uint32_t length, bool latin1,
                     bool keyName) {
    const uint32_t units = latin1 ? length : length / 2;
    for (uint32_t i = 0; i < units; ++i) {
        const uint32_t unit = latin1 ? image.U8(at + i).value_or(0) : image.U16Or(at + 2ull * i, 0);
        if (unit == 0 || (keyName && unit == '\\')) {
            return false;
        }
    }
    return true;
}

// An offset field that names a cell: 8-aligned and inside the image.
bool IsCellOffset(const ImageView& image, uint32_t offset) {
    return offset % 8 == 0 && image.Contains(CellPosition(offset), 8);
}

}  // namespace

class DeletedRecordScanner {
public:
    DeletedRecordScanner(const ImageView& image, uint32_t minorVersion, uint64_t rootCell)
        : image_(image),
          minorVersion_(minorVersion),
          rootCell_(rootCell),
          cells_(HiveCellMap::Build(image)),
          budget_(image.size() / 2 + 1024) {}

    DeletedRecords Run() {
        result_.image_ = image_;
        FindRecords();
        WalkLiveTree();
        ClaimDeletedKeyLists();
        ClaimValueListSlack();
        LinkParents();
        for (size_t i = 0; i < result_.values_.size(); ++i) {
            LocateData(result_.values_[i], valueRecords_[i]);
        }
        return std::move(result_);
    }

private:
    // Draws `units` from the work budget; false once it is spent.
    bool Spend(uint64_t units) {
        if (units > budget_) {
            budget_ = 0;
            return false;
        }
        budget_ -= units;
        return true;
    }

    // Every 8-aligned position of every free cell where a whole key or value record starts.
    void FindRecords() {
        for (const HiveCell& cell : cells_.Cells()) {
            if (!cell.free) {
                continue;
            }
            uint64_t at = cell.position;
            while (at + 4 + 2 <= cell.End()) {
                const uint64_t length = TryKey(at, cell.End()) + TryValue(at, cell.End());
                at += length == 0 ? 8 : (length + 7) / 8 * 8;
            }
        }
    }

    // The cell-sized length of a plausible key record whose cell starts at `at`, or 0.
    uint64_t TryKey(uint64_t at, uint64_t end) {
        if (!image_.HasSignature(at + 4, 'n', 'k') || end - at < 4 + kKeyFixedSize) {
            return 0;
        }
        const auto key = ReadKeyRecord(image_, at);
        if (!key || key->nameLength == 0 || key->nameLength > kMaxKeyNameBytes ||
            (!key->latin1Name && key->nameLength % 2 != 0)) {
            return 0;
        }
        const uint64_t length = 4 + kKeyFixedSize + key->nameLength;
        if (length > end - at || !StaleSizeFits(at, length)) {
            return 0;
        }
        // The parent offset is not checked here: a broken one only makes the path partial.
        const uint32_t parent = image_.U32Or(at + 4 + 0x10, kNoCell);
        const uint64_t maxCount = image_.size() / 8;
        if (key->subkeyCount > maxCount ||
            key->valueCount > maxCount ||
            (key->subkeyCount != 0 && !IsCellOffset(image_, key->subkeyList)) ||
            (key->valueCount != 0 && !IsCellOffset(image_, key->valueList)) ||
            !NameIsPlausible(image_, key->nameOffset, key->nameLength, key->latin1Name, true)) {
            return 0;
        }
        DeletedKey found;
        found.offset = CellOffsetOf(at);
        found.parentOffset = parent;
        found.name = KeyName(image_, *key);
        found.lastWrite = key->lastWrite;
        found.flags = key->flags;
        result_.keyIndex_.emplace(found.offset, result_.keys_.size());
        result_.keys_.push_back(std::move(found));
        deletedKeyLists_.push_back({key->valueList, key->valueCount});
        return length;
    }

    // Likewise for a value record.
    uint64_t TryValue(uint64_t at, uint64_t end) {
        if (!image_.HasSignature(at + 4, 'v', 'k') || end - at < 4 + kValueFixedSize) {
            return 0;
        }
        ValueRecord value;
        value.record = at + 4;
        value.nameLength = image_.U16Or(value.record + 0x02, 0);
        value.dataLength = image_.U32Or(value.record + 0x04, 0);
        value.dataOffset = image_.U32Or(value.record + 0x08, 0);
        value.type = image_.U32Or(value.record + 0x0C, 0);
        value.flags = image_.U16Or(value.record + 0x10, 0);
        value.nameOffset = value.record + kValueFixedSize;
        const uint64_t length = 4 + kValueFixedSize + value.nameLength;
        if (value.nameLength > kMaxValueNameBytes ||
            (!value.Latin1Name() && value.nameLength % 2 != 0) || length > end - at ||
            !StaleSizeFits(at, length)) {
            return 0;
        }
        const uint32_t size = value.dataLength & ~kResidentData;
        const bool resident = (value.dataLength & kResidentData) != 0;
        if ((resident && size > 4) ||
            (!resident && size != 0 && !IsCellOffset(image_, value.dataOffset)) ||
            !NameIsPlausible(image_, value.nameOffset, value.nameLength, value.Latin1Name(),
                             false)) {
            return 0;
        }
        DeletedValue found;
        found.offset = CellOffsetOf(at);
        AppendValueName(image_, value, found.name);
        found.type = value.type;
        found.dataSize = size;
        valueIndex_.emplace(found.offset, result_.values_.size());
        valueRecords_.push_back(value);
        result_.values_.push_back(std::move(found));
        return length;
    }

    // The size field at `at` is stale when the record lies inside a larger free cell, but it
    // still described a cell that held the whole record.
    bool StaleSizeFits(uint64_t at, uint64_t length) const {
        const int64_t size = static_cast<int32_t>(image_.U32Or(at, 0));
        const uint64_t magnitude = static_cast<uint64_t>(size < 0 ? -size : size);
        return magnitude >= length && magnitude % 8 == 0;
    }

    // Records each reachable key's parent and the value lists of live keys.
    void WalkLiveTree() {
        if (!ReadKeyRecord(image_, rootCell_)) {
            return;
        }
        result_.rootOffset_ = CellOffsetOf(rootCell_);
        result_.liveParent_.emplace(result_.rootOffset_, kNoCell);
        std::unordered_set<uint32_t> seenLists;
        std::vector<uint64_t> pending{rootCell_};
        while (!pending.empty()) {
            const uint64_t cell = pending.back();
            pending.pop_back();
            const auto key = ReadKeyRecord(image_, cell);
            if (!key) {
                continue;
            }
            if (key->valueList != kNoCell) {
                liveValueLists_.push_back({CellOffsetOf(cell), key->valueList, key->valueCount});
            }
            if (key->subkeyCount == 0 || !seenLists.insert(key->subkeyList).second) {
                continue;  // a list shared by several keys is read for the first only
            }
            if (!Spend(1 + image_.U16Or(RecordPosition(key->subkeyList) + 2, 0))) {
                return;  // what reading a root index costs, before its leaves are known
            }
            const SubkeyLeaves leaves = ReadSubkeyLeaves(image_, *key);
            for (const SubkeyLeaf& leaf : leaves.leaves) {
                if (!Spend(leaf.count)) {
                    return;
                }
                for (uint32_t i = 0; i < leaf.count; ++i) {
                    const uint32_t child = LeafElement(image_, leaf, i);
                    if (ReadKeyRecord(image_, CellPosition(child)) &&
                        result_.liveParent_.emplace(child, CellOffsetOf(cell)).second) {
                        pending.push_back(CellPosition(child));
                    }
                }
            }
        }
    }

    void Claim(uint32_t valueOffset, uint32_t keyOffset, DeletedLink link) {
        const auto it = valueIndex_.find(valueOffset);
        if (it == valueIndex_.end()) {
            return;
        }
        DeletedValue& value = result_.values_[it->second];
        if (value.key == DeletedLink::kUnknown) {
            value.keyOffset = keyOffset;
            value.key = link;
        }
    }

    // A deleted key's own value list, when it still lies whole in free space.
    void ClaimDeletedKeyLists() {
        for (size_t i = 0; i < deletedKeyLists_.size(); ++i) {
            const auto [list, count] = deletedKeyLists_[i];
            const uint64_t at = RecordPosition(list);
            if (count == 0 || !cells_.FreeCellHolding(at - 4, 4 + 4ull * count) || !Spend(count)) {
                continue;
            }
            for (uint32_t element = 0; element < count; ++element) {
                Claim(image_.U32Or(at + 4ull * element, kNoCell), result_.keys_[i].offset,
                      DeletedLink::kDeletedKey);
            }
        }
    }

    // Entries past a live key's value count that still name value records in free cells.
    void ClaimValueListSlack() {
        for (const LiveValueList& list : liveValueLists_) {
            const auto cell = cells_.CellAt(CellPosition(list.list));
            if (!cell || cell->free || !seenValueLists_.insert(list.list).second) {
                continue;
            }
            const uint32_t capacity = (cell->size - 4) / 4;
            if (list.count >= capacity || !Spend(capacity - list.count)) {
                continue;
            }
            const uint64_t at = RecordPosition(list.list);
            for (uint32_t element = list.count; element < capacity; ++element) {
                Claim(image_.U32Or(at + 4ull * element, kNoCell), list.key, DeletedLink::kLiveKey);
            }
        }
    }

    // Names what each deleted key's parent offset points at; parent chains that loop are cut
    // where the loop closes.
    void LinkParents() {
        auto& keys = result_.keys_;
        for (DeletedKey& key : keys) {
            if (result_.liveParent_.count(key.parentOffset) != 0) {
                key.parent = DeletedLink::kLiveKey;
            } else if (result_.keyIndex_.count(key.parentOffset) != 0) {
                key.parent = DeletedLink::kDeletedKey;
            }
        }
        enum : uint8_t { kNew, kOnChain, kDone };
        std::vector<uint8_t> state(keys.size(), kNew);
        std::vector<size_t> chain;
        for (size_t start = 0; start < keys.size(); ++start) {
            size_t at = start;
            while (state[at] == kNew && keys[at].parent == DeletedLink::kDeletedKey) {
                state[at] = kOnChain;
                chain.push_back(at);
                at = result_.keyIndex_.at(keys[at].parentOffset);
            }
            if (state[at] == kOnChain) {
                keys[chain.back()].parent = DeletedLink::kUnknown;
            }
            state[at] = kDone;
            for (size_t done : chain) {
                state[done] = kDone;
            }
            chain.clear();
        }
    }

    void LocateData(DeletedValue& value, const ValueRecord& record) {
        if (value.dataSize == 0) {
            value.dataRecoverable = true;
            return;
        }
        const ValueData data = LocateValueData(image_, minorVersion_, record);
        if (data.size != value.dataSize) {
            return;
        }
        if (record.dataLength & kResidentData) {
            value.dataRecoverable = true;
        } else if (!data.segmented) {
            value.dataRecoverable = cells_.FreeCellHolding(data.contiguous - 4, 4ull + data.size).has_value();
        } else {
            value.dataRecoverable = SegmentsAreFree(record, data);
        }
        if (value.dataRecoverable) {
            value.data = data;
        }
    }

    bool SegmentsAreFree(const ValueRecord& record, const ValueData& data) {
        const uint32_t segments = (data.size + kBigDataSegmentBytes - 1) / kBigDataSegmentBytes;
        if (!cells_.FreeCellHolding(CellPosition(record.dataOffset), 4 + 8) ||
            !cells_.FreeCellHolding(data.segmentList - 4, 4 + 4ull * segments) ||
            !Spend(segments)) {
            return false;
        }
        uint32_t remaining = data.size;
        for (uint32_t i = 0; i < segments; ++i) {
            const uint32_t part = std::min(remaining, kBigDataSegmentBytes);
            const uint64_t segment = RecordPosition(image_.U32Or(data.segmentList + 4ull * i, kNoCell));
            if (!cells_.FreeCellHolding(segment - 4, 4ull + part)) {
                return false;
            }
            remaining -= part;
        }
        return true;
    }

    struct KeyValueList {
        uint32_t list = kNoCell;
        uint32_t count = 0;
    };
    struct LiveValueList {
        uint32_t key = 0;
        uint32_t list = kNoCell;
        uint32_t count = 0;
    };

    const ImageView image_;
    const uint32_t minorVersion_;
    const uint64_t rootCell_;
    const HiveCellMap cells_;
    uint64_t budget_;
    DeletedRecords result_;
    std::vector<KeyValueList> deletedKeyLists_;    // parallel to result_.keys_
    std::vector<ValueRecord> valueRecords_;        // parallel to result_.values_
    std::unordered_map<uint32_t, size_t> valueIndex_;
    std::vector<LiveValueList> liveValueLists_;
    std::unordered_set<uint32_t> seenValueLists_;
};

DeletedRecords ScanDeletedRecords(const ImageView& image, uint32_t minorVersion,
                                  uint64_t rootCell) {
    return DeletedRecordScanner(image, minorVersion, rootCell).Run();
}

DeletedRecords ScanDeletedRecords(const HiveImage& hive) {
    return ScanDeletedRecords(hive.View(), hive.MinorVersion(), hive.RootCell());
}

}  // namespace hivora
