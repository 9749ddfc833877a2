#include "keys/DeletedKeyIndex.h"

#include <memory>
#include <mutex>

#include "hive/HiveEngine.h"
#include "hive/HiveSet.h"
#include "hive/RegistryBackend.h"
#include "hive/RegistryReader.h"

namespace hivora {
namespace {

// Cell offsets count from the first hive bin; key identities carry file offsets.
constexpr uint64_t kBinsStart = 0x1000;

bool g_shown = false;
// The search worker reads indexes too; an index, once made, is only dropped with its image,
// which no search outlives.
std::mutex g_indexesMutex;
std::vector<std::unique_ptr<DeletedHiveIndex>> g_indexes;

const HiveImage* LoadedImage(uint32_t generation) {
    for (int slot = 0; slot < kHiveSlotCount; ++slot) {
        const HiveImage* image = HiveInSlot(static_cast<HiveSlot>(slot));
        if (image != nullptr && image->Generation() == generation) {
            return image;
        }
    }
    return nullptr;
}

}  // namespace

DeletedHiveIndex::DeletedHiveIndex(uint32_t generation, DeletedRecords records)
    : generation_(generation), records_(std::move(records)) {
    const auto& keys = records_.Keys();
    for (size_t i = 0; i < keys.size(); ++i) {
        keyAt_.emplace(keys[i].offset, i);
        if (keys[i].parent == DeletedLink::kUnknown) {
            orphanKeys_.push_back(i);
        } else {
            keysUnder_[keys[i].parentOffset].push_back(i);
        }
    }
    const auto& values = records_.Values();
    for (size_t i = 0; i < values.size(); ++i) {
        if (values[i].key == DeletedLink::kUnknown) {
            orphanValues_.push_back(i);
        } else {
            valuesOf_[values[i].keyOffset].push_back(i);
        }
    }
}

const std::vector<size_t>& DeletedHiveIndex::KeysUnder(uint32_t keyOffset) const {
    static const std::vector<size_t> kNone;
    const auto found = keysUnder_.find(keyOffset);
    return found != keysUnder_.end() ? found->second : kNone;
}

std::optional<size_t> DeletedHiveIndex::KeyAt(uint32_t offset) const {
    const auto found = keyAt_.find(offset);
    return found != keyAt_.end() ? std::optional<size_t>(found->second) : std::nullopt;
}

const std::vector<size_t>& DeletedHiveIndex::ValuesOf(uint32_t keyOffset) const {
    static const std::vector<size_t> kNone;
    const auto found = valuesOf_.find(keyOffset);
    return found != valuesOf_.end() ? found->second : kNone;
}

bool DeletedRecordsShown() {
    return g_shown;
}

void ShowDeletedRecords(bool shown) {
    g_shown = shown;
}

const DeletedHiveIndex* DeletedIndexOf(uint32_t generation) {
    const std::lock_guard lock(g_indexesMutex);
    // An index whose image was freed must go before anything reads through it.
    std::erase_if(g_indexes, [](const auto& index) { return LoadedImage(index->Generation()) == nullptr; });
    for (const auto& index : g_indexes) {
        if (index->Generation() == generation) {
            return index.get();
        }
    }
    const HiveImage* image = LoadedImage(generation);
    if (image == nullptr) {
        return nullptr;
    }
    g_indexes.push_back(std::make_unique<DeletedHiveIndex>(generation, ScanDeletedRecords(*image)));
    return g_indexes.back().get();
}

void DropDeletedIndexes() {
    const std::lock_guard lock(g_indexesMutex);
    g_indexes.clear();
}

std::optional<LiveKeyPlace> PlaceOfIdentity(uint64_t identity) {
    const auto generation = static_cast<uint32_t>(identity >> 34);
    const uint64_t fileOffset = identity & ((uint64_t{1} << 34) - 1);
    const HiveImage* image = identity != 0 ? LoadedImage(generation) : nullptr;
    if (image == nullptr || fileOffset < kBinsStart) {
        return std::nullopt;
    }
    LiveKeyPlace place;
    place.generation = generation;
    place.offset = static_cast<uint32_t>(fileOffset - kBinsStart);
    place.hiveRoot = fileOffset == image->RootCell();
    return place;
}

std::optional<LiveKeyPlace> PlaceOfKey(RootKey root, std::string_view subPath) {
    if (IsLiveRegistry()) {
        return std::nullopt;
    }
    const RegKey key = OpenRegKey(root, subPath);
    return key ? PlaceOfIdentity(HiveKeyIdentity(key.get())) : std::nullopt;
}

}  // namespace hivora
