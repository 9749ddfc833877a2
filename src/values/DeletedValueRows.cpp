#include "values/DeletedValueRows.h"

#include "keys/DeletedKeyIndex.h"
#include "support/TextConvert.h"
#include "values/ValueFormat.h"

namespace hivora {

std::vector<ValueRow> DeletedValueRows(const KeyItemData& record) {
    std::vector<ValueRow> rows;
    if (!DeletedRecordsShown()) {
        return rows;
    }
    const DeletedHiveIndex* index = nullptr;
    const std::vector<size_t>* values = nullptr;
    if (record.origin == KeyItemData::Origin::kLive) {
        const std::optional<LiveKeyPlace> place = PlaceOfKey(record.root, record.subPath);
        index = place ? DeletedIndexOf(place->generation) : nullptr;
        values = index != nullptr ? &index->ValuesOf(place->offset) : nullptr;
    } else {
        index = DeletedIndexOf(record.hiveGeneration);
        values = index == nullptr ? nullptr
                 : record.origin == KeyItemData::Origin::kDeletedKey
                     ? &index->ValuesOf(record.deletedOffset)
                     : &index->ValuesWithUnknownKey();
    }
    if (values == nullptr) {
        return rows;
    }
    for (size_t i : *values) {
        const DeletedValue& value = index->Records().Values()[i];
        ValueItem item;
        item.type = value.type;
        item.name = value.name.empty() ? kDefaultValueName : ToUtf8(value.name);
        const std::optional<std::vector<uint8_t>> bytes = index->Records().ValueBytes(i);
        if (bytes) {
            item.data.AppendBytes(bytes->data(), static_cast<uint32_t>(bytes->size()));
        }
        ValueRow row;
        row.name = item.name;
        row.type = GetValueTypeName(item.type);
        row.data = bytes ? FormatValueData(item) : kDataNotRecoverable;
        row.image = kDeletedValueImage;
        row.deletedHive = index->Generation();
        row.deletedOffset = value.offset;
        row.item = std::move(item);
        rows.push_back(std::move(row));
    }
    SortValueRows(rows);
    return rows;
}

}  // namespace hivora
