#include "keys/DeletedKeyTree.h"

#include "keys/DeletedKeyIndex.h"
#include "keys/KeyPath.h"
#include "support/TextConvert.h"

namespace hivora {
namespace {

ChildKey DeletedChild(const KeyItemData& parent, const DeletedHiveIndex& index, size_t key) {
    const DeletedKey& record = index.Records().Keys()[key];
    ChildKey child;
    child.name = ToUtf8(record.name);
    child.data.root = parent.root;
    child.data.subPath = ChildSubPath(parent.subPath, child.name);
    child.data.lastWrite = record.lastWrite;
    child.data.origin = KeyItemData::Origin::kDeletedKey;
    child.data.hiveGeneration = index.Generation();
    child.data.deletedOffset = record.offset;
    child.hasSubkeys = !index.KeysUnder(record.offset).empty();
    child.data.populated = !child.hasSubkeys;
    return child;
}

}  // namespace

void AddDeletedChildKeys(const KeyItemData& parent, std::vector<ChildKey>& children) {
    if (!DeletedRecordsShown()) {
        return;
    }
    const DeletedHiveIndex* index = nullptr;
    const std::vector<size_t>* keys = nullptr;
    bool groupNode = false;
    switch (parent.origin) {
    case KeyItemData::Origin::kLive: {
        const std::optional<LiveKeyPlace> place = PlaceOfKey(parent.root, parent.subPath);
        if (place) {
            index = DeletedIndexOf(place->generation);
        }
        // Only a child without live subkeys needs asking; a hive is scanned no sooner than
        // a key of it is filled or one of its leaves is shown. The roots above the hives list
        // the hives themselves, each its own image.
        for (ChildKey& child : children) {
            if (child.hasSubkeys) {
                continue;
            }
            const std::optional<LiveKeyPlace> at = PlaceOfIdentity(child.identity);
            const DeletedHiveIndex* childIndex =
                !at ? nullptr
                    : index != nullptr && at->generation == index->Generation()
                    ? index
                    : DeletedIndexOf(at->generation);
            if (childIndex != nullptr && (!childIndex->KeysUnder(at->offset).empty() ||
                                          (at->hiveRoot && childIndex->HasOrphans()))) {
                child.hasSubkeys = true;
                child.data.populated = false;
            }
        }
        if (index == nullptr) {
            return;
        }
        keys = &index->KeysUnder(place->offset);
        groupNode = place->hiveRoot && index->HasOrphans();
        break;
    }
    case KeyItemData::Origin::kDeletedKey:
        index = DeletedIndexOf(parent.hiveGeneration);
        if (index == nullptr) {
            return;
        }
        keys = &index->KeysUnder(parent.deletedOffset);
        break;
    case KeyItemData::Origin::kDeletedGroup:
        index = DeletedIndexOf(parent.hiveGeneration);
        if (index == nullptr) {
            return;
        }
        keys = &index->KeysWithUnknownParent();
        break;
    }
    std::vector<ChildKey> deleted;
    deleted.reserve(keys->size());
    for (size_t key : *keys) {
        deleted.push_back(DeletedChild(parent, *index, key));
    }
    SortChildKeys(deleted);
    if (groupNode) {
        ChildKey group;
        group.name = kDeletedGroupName;
        group.data.root = parent.root;
        group.data.subPath = ChildSubPath(parent.subPath, group.name);
        group.data.origin = KeyItemData::Origin::kDeletedGroup;
        group.data.hiveGeneration = index->Generation();
        group.hasSubkeys = !index->KeysWithUnknownParent().empty();
        group.data.populated = !group.hasSubkeys;
        deleted.insert(deleted.begin(), std::move(group));
    }
    for (ChildKey& child : deleted) {
        children.push_back(std::move(child));
    }
}

}  // namespace hivora
