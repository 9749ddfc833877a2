#include "search/DeletedSearch.h"

#include <algorithm>
#include <cstring>
#include <span>

#include "keys/DeletedKeyIndex.h"
#include "keys/DeletedKeyTree.h"
#include "search/HitPreview.h"
#include "support/TextConvert.h"

namespace hivora {
namespace {

// The path the tree shows for a deleted key: below its live ancestors, or below the hive's
// node of unknown parents when the chain of parents breaks.
std::string TreePath(std::string_view hiveKeyPath, const DeletedKeyPath& path) {
    std::string text(hiveKeyPath);
    if (!path.complete) {
        text += std::string("\\") + kDeletedGroupName;
    }
    for (const std::u16string& name : path.components) {
        text.push_back('\\');
        AppendUtf8(name, text);
    }
    return text;
}

// The first string of string data; for REG_MULTI_SZ each up to an empty one.
bool DataMatches(uint32_t type, std::span<const uint8_t> bytes, const TextTest& matches) {
    if (type != REG_SZ && type != REG_EXPAND_SZ && type != REG_MULTI_SZ) {
        return false;
    }
    std::u16string units(bytes.size() / 2, u'\0');
    std::memcpy(units.data(), bytes.data(), units.size() * 2);
    for (size_t pos = 0; pos < units.size();) {
        const size_t end = std::min(units.find(u'\0', pos), units.size());
        if (end == pos) {
            break;
        }
        if (matches(ToUtf8(std::u16string_view(units).substr(pos, end - pos)))) {
            return true;
        }
        if (type != REG_MULTI_SZ) {
            break;
        }
        pos = end + 1;
    }
    return false;
}

}  // namespace

std::optional<SearchResult> SearchDeletedRecords(const SearchCriteria& criteria,
                                                 const TextTest& matches, uint32_t hive,
                                                 std::string_view hiveKeyPath, uint32_t after) {
    const DeletedHiveIndex* index = DeletedIndexOf(hive);
    if (index == nullptr || criteria.byDate) {
        return std::nullopt;
    }
    const DeletedRecords& records = index->Records();
    const auto& keys = records.Keys();
    const auto& values = records.Values();
    auto k = std::upper_bound(keys.begin(), keys.end(), after,
                              [](uint32_t at, const DeletedKey& key) { return at < key.offset; });
    auto v =
        std::upper_bound(values.begin(), values.end(), after,
                         [](uint32_t at, const DeletedValue& value) { return at < value.offset; });
    while (k != keys.end() || v != values.end()) {
        if (v == values.end() || (k != keys.end() && k->offset < v->offset)) {
            const DeletedKey& key = *k++;
            if (criteria.keys && matches(ToUtf8(key.name))) {
                const auto at = static_cast<size_t>(&key - keys.data());
                return SearchResult{TreePath(hiveKeyPath, records.KeyPath(at)),
                                    kKeyHitValueName,
                                    MatchKind::KeyName,
                                    key.lastWrite,
                                    hive,
                                    key.offset,
                                    key.offset};
            }
            continue;
        }
        const DeletedValue& value = *v++;
        const auto at = static_cast<size_t>(&value - values.data());
        const std::string name =
            value.name.empty() ? std::string(kUnnamedValueHitName) : ToUtf8(value.name);
        MatchKind kind = MatchKind::ValueName;
        std::optional<std::vector<uint8_t>> bytes;
        if (!(criteria.values && matches(name))) {
            bytes = criteria.data ? records.ValueBytes(at) : std::nullopt;
            if (!bytes || !DataMatches(value.type, *bytes, matches)) {
                continue;
            }
            kind = MatchKind::ValueData;
        } else {
            bytes = records.ValueBytes(at);
        }
        std::optional<DeletedKeyPath> owner;
        if (value.key != DeletedLink::kUnknown) {
            owner = records.PathOfKey(value.keyOffset);
        }
        std::string path = owner ? TreePath(hiveKeyPath, *owner)
                                 : std::string(hiveKeyPath) + "\\" + kDeletedGroupName;
        const uint32_t ownerKey = value.key == DeletedLink::kDeletedKey ? value.keyOffset : 0;
        // The time of a deleted owner; a live owner's is not at hand here, so it stays 0.
        FileTime lastWrite = 0;
        if (const std::optional<size_t> ownerAt =
                ownerKey != 0 ? index->KeyAt(ownerKey) : std::nullopt) {
            lastWrite = keys[*ownerAt].lastWrite;
        }
        return SearchResult{std::move(path),
                            name,
                            kind,
                            lastWrite,
                            hive,
                            value.offset,
                            ownerKey,
                            bytes ? HitDataPreview(value.type, *bytes) : std::string()};
    }
    return std::nullopt;
}

}  // namespace hivora
