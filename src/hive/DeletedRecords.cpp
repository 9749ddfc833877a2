#include "hive/DeletedRecords.h"

#include <algorithm>

namespace hivora {
namespace {

// Windows nests keys at most 512 deep; a longer chain is damage and is cut.
constexpr size_t kMaxPathDepth = 512;

template <class Items, class Match>
std::vector<size_t> IndexesWhere(const Items& items, Match match) {
    std::vector<size_t> found;
    for (size_t i = 0; i < items.size(); ++i) {
        if (match(items[i])) {
            found.push_back(i);
        }
    }
    return found;
}

}  // namespace

std::vector<size_t> DeletedRecords::KeysUnder(uint32_t parentOffset) const {
    return IndexesWhere(keys_, [&](const DeletedKey& key) {
        return key.parent != DeletedLink::kUnknown && key.parentOffset == parentOffset;
    });
}

std::vector<size_t> DeletedRecords::KeysWithUnknownParent() const {
    return IndexesWhere(keys_, [](const DeletedKey& key) { return key.parent == DeletedLink::kUnknown; });
}

std::vector<size_t> DeletedRecords::ValuesOf(uint32_t keyOffset) const {
    return IndexesWhere(values_, [&](const DeletedValue& value) {
        return value.key != DeletedLink::kUnknown && value.keyOffset == keyOffset;
    });
}

std::vector<size_t> DeletedRecords::ValuesWithUnknownKey() const {
    return IndexesWhere(values_, [](const DeletedValue& value) { return value.key == DeletedLink::kUnknown; });
}

DeletedKeyPath DeletedRecords::KeyPath(size_t index) const {
    DeletedKeyPath path;
    auto& names = path.components;  // leaf first until reversed
    const DeletedKey* key = &keys_.at(index);
    names.push_back(key->name);
    while (key->parent == DeletedLink::kDeletedKey && names.size() < kMaxPathDepth) {
        key = &keys_[keyIndex_.at(key->parentOffset)];
        names.push_back(key->name);
    }
    if (key->parent == DeletedLink::kLiveKey) {
        path.complete = AppendLiveNames(key->parentOffset, names);
    }
    std::reverse(names.begin(), names.end());
    return path;
}

bool DeletedRecords::AppendLiveNames(uint32_t live, std::vector<std::u16string>& names) const {
    while (live != rootOffset_ && names.size() < kMaxPathDepth) {
        const auto record = ReadKeyRecord(image_, CellPosition(live));
        names.push_back(record ? KeyName(image_, *record) : std::u16string());
        live = liveParent_.at(live);
    }
    return live == rootOffset_;
}

std::optional<DeletedKeyPath> DeletedRecords::PathOfKey(uint32_t keyOffset) const {
    if (const auto deleted = keyIndex_.find(keyOffset); deleted != keyIndex_.end()) {
        return KeyPath(deleted->second);
    }
    if (liveParent_.count(keyOffset) == 0) {
        return std::nullopt;
    }
    DeletedKeyPath path;
    path.complete = AppendLiveNames(keyOffset, path.components);
    std::reverse(path.components.begin(), path.components.end());
    return path;
}

std::optional<std::vector<uint8_t>> DeletedRecords::ValueBytes(size_t index) const {
    const DeletedValue& value = values_.at(index);
    if (!value.dataRecoverable) {
        return std::nullopt;
    }
    std::vector<uint8_t> bytes(value.data.size);
    const uint32_t copied = CopyValueData(image_, value.data, bytes);
    bytes.resize(copied);
    return bytes;
}

}  // namespace hivora
