#include "values/ValuesList.h"

#include <algorithm>
#include <filesystem>

#include "fileset/HiveFileState.h"
#include "hive/RegistryBackend.h"
#include "hive/RegistryReader.h"
#include "support/CaseFold.h"
#include "support/TextConvert.h"
#include "values/DeletedValueRows.h"
#include "values/ValueFormat.h"

namespace hivora {

namespace {

ValueRow RowFor(ValueItem item) {
    ValueRow row;
    row.name = item.name;
    row.type = GetValueTypeName(item.type);
    row.data = FormatValueData(item);
    row.image = GetValueTypeImage(item.type);
    row.item = std::move(item);
    return row;
}

}  // namespace

std::vector<ValueRow> FileInformationRows(const FileSet& files) {
    std::vector<ValueRow> rows;
    rows.reserve(kFileSetList.size());
    for (const HiveSlot slot : kFileSetList) {
        ValueRow row;
        row.name = SlotDisplayName(slot);
        row.type = kInformationType;
        row.data = files[slot].empty() ? kEmptyFileName : files[slot];
        // A file that is there but did not load says why; a missing one is plain to see.
        std::error_code error;
        const bool exists = !files[slot].empty() && std::filesystem::exists(files[slot], error);
        const std::string failure = exists ? HiveLoadFailure(files, slot) : std::string();
        if (!failure.empty()) {
            const std::string refusal = HiveRefusal(files[slot]);
            row.data += "  (not loaded: " + (refusal.empty() ? failure : refusal) + ")";
        } else if (const std::string damage = HiveFileDamage(files[slot]); !damage.empty()) {
            row.data += "  (" + damage + ")";
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

std::vector<ValueRow> ReadValueRows(HKEY key) {
    std::vector<ValueRow> rows;
    bool hasDefault = false;
    ValueInfo info;
    std::vector<uint8_t> bytes;
    for (uint32_t index = 0; EnumValueInfo(key, index, info) == ERROR_SUCCESS; ++index) {
        ValueItem item;
        item.type = info.type;
        // A second read that fails leaves the value without data rather than showing
        // whatever the block held.
        if (info.size > 0 && ReadValueData(key, index, info.size, bytes) == ERROR_SUCCESS) {
            item.data.AppendBytes(bytes.data(), static_cast<uint32_t>(bytes.size()));
        }
        if (info.name.empty()) {
            item.name = kDefaultValueName;
            hasDefault = true;
        } else {
            item.name = ToUtf8(info.name);
        }
        rows.push_back(RowFor(std::move(item)));
    }
    if (!hasDefault) {
        ValueItem item;
        item.type = REG_SZ;
        item.name = kDefaultValueName;
        rows.push_back(RowFor(std::move(item)));
    }
    return rows;
}

void SortValueRows(std::vector<ValueRow>& rows) {
    std::stable_sort(rows.begin(), rows.end(), [](const ValueRow& a, const ValueRow& b) {
        return CompareForDisplay(a.name, b.name) < 0;
    });
}

std::vector<ValueRow> BuildValueRows(const KeyItemData* record, const FileSet& files) {
    if (record == nullptr) {
        return FileInformationRows(files);
    }
    if (record->IsDeleted()) {
        return DeletedValueRows(*record);
    }
    // The open's status decides between no rows at all (the key cannot be opened) and the
    // default row alone (status 0 with a null handle: the hive engine's missing key).
    const std::u16string subPath = ToUtf16(record->subPath);
    HKEY opened = nullptr;
    if (Backend().openKey(RootHandle(record->root), subPath.c_str(), &opened) != ERROR_SUCCESS) {
        return {};
    }
    const RegKey key(opened);
    std::vector<ValueRow> rows = ReadValueRows(key.get());
    SortValueRows(rows);
    // The slack of the key's value list, after the live values.
    for (ValueRow& row : DeletedValueRows(*record)) {
        rows.push_back(std::move(row));
    }
    return rows;
}

std::vector<ValueRow> BuildValueRows(const KeyItemData* record) {
    return BuildValueRows(record, CurrentFileSet());
}

bool ValueNameMatches(std::string_view cellName, std::string_view name) {
    return EqualsNoCase(cellName, name);
}

std::optional<size_t> FindValueRow(const std::vector<ValueRow>& rows, std::string_view name) {
    for (size_t i = 0; i < rows.size(); ++i) {
        if (ValueNameMatches(rows[i].name, name)) {
            return i;
        }
    }
    return std::nullopt;
}

}  // namespace hivora
