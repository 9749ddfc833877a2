// What the values list shows for a key item, without any window: one row per value, the row
// of a missing default value, or the file-information rows of the top item.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "fileset/FileSet.h"
#include "keys/KeyItemData.h"
#include "values/ValueItem.h"

namespace hivora {

inline constexpr const char* kInformationType = "<information>";
inline constexpr const char* kEmptyFileName = "<EMPTY>";

struct ValueRow {
    std::string name;  // the Name cell
    std::string type;  // the Type cell
    std::string data;  // the Data cell: list form of the data text
    int image = -1;    // picture index, -1 for none
    // The value the row stands for; none on file-information rows.
    std::optional<ValueItem> item;
    // Rows of deleted values: the hive image's generation and the value's cell offset.
    uint32_t deletedHive = 0;
    uint32_t deletedOffset = 0;
};

// The rows for `record`, in the list's order. Null (the top item): the eight files of `files`
// in list order, unsorted. Otherwise the key's values sorted by name for display, with a
// "(Default)" row when the key has no unnamed value; none at all when the key cannot be
// opened. A key the hive engine reports missing (a null handle) lists the default row only.
std::vector<ValueRow> BuildValueRows(const KeyItemData* record, const FileSet& files);
std::vector<ValueRow> BuildValueRows(const KeyItemData* record);  // with CurrentFileSet()

std::vector<ValueRow> FileInformationRows(const FileSet& files);

// The values of the open key `key` (which may be null), unsorted, default row included.
std::vector<ValueRow> ReadValueRows(HKEY key);

// Sorts rows by their names in the display order (small letters first among names that
// differ in case alone).
void SortValueRows(std::vector<ValueRow>& rows);

// True when a row's Name cell names the value `name` (ignoring case), as selecting a value
// found by the search compares them.
bool ValueNameMatches(std::string_view cellName, std::string_view name);
// The index of the first row that matches `name`, if any.
std::optional<size_t> FindValueRow(const std::vector<ValueRow>& rows, std::string_view name);

}  // namespace hivora
