// The rows of the values list: one value as the list holds it, its type name, picture and
// data text, and the rows of a key or of the file set.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "keys/ui/KeyAddress.h"

namespace hivora::ui {

struct ValueItem {
    std::vector<uint8_t> data;
    uint32_t type = 0;
    std::string name;
};

std::string GetValueTypeName(uint32_t type);
// 0 letters, 1 digits, -1 no picture.
int GetValueTypeImage(uint32_t type);
// The data text; `multiLine` joins multi-strings with "\r\n" instead of " | ".
std::string FormatValueData(const ValueItem& item, bool multiLine);

struct ValueRow {
    std::string name;
    std::string typeName;
    std::string data;
    int image = -1;
    // Null for the file information rows.
    std::unique_ptr<ValueItem> item;
};

// The value rows of a key, with the missing-default row, in enumeration order (unsorted).
// Empty when the key does not open.
std::vector<ValueRow> KeyValueRows(const KeyItemData& record);
// The eight file information rows of the current file set, in their fixed order.
std::vector<ValueRow> FileInformationRows();

}  // namespace hivora::ui
