#include "values/ui/ValueRows.h"

#include <cinttypes>
#include <cstdio>
#include <cstring>

#include "fileset/FileSet.h"
#include "hive/RegistryReader.h"
#include "support/TextConvert.h"

namespace hivora::ui {
namespace {

// UTF-16 units from little-endian bytes, up to `end` units.
std::u16string Utf16At(const std::vector<uint8_t>& data, size_t offset, size_t& next) {
    std::u16string text;
    size_t pos = offset;
    while (pos + 1 < data.size()) {
        const auto unit = static_cast<char16_t>(data[pos] | (data[pos + 1] << 8));
        pos += 2;
        if (unit == 0) {
            next = pos;
            return text;
        }
        text += unit;
    }
    next = data.size();
    return text;
}

}  // namespace

std::string GetValueTypeName(uint32_t type) {
    static const char* const kNames[] = {"REG_NONE",
                                         "REG_SZ",
                                         "REG_EXPAND_SZ",
                                         "REG_BINARY",
                                         "REG_DWORD",
                                         "REG_DWORD",
                                         "REG_LINK",
                                         "REG_MULTI_SZ",
                                         "REG_RESOURCE_LIST",
                                         "REG_FULL_RESOURCE_DESCRIPTOR",
                                         "REG_RESOURCE_REQUIREMENTS_LIST",
                                         "REG_QWORD"};
    return type < std::size(kNames) ? kNames[type] : "UNDEFINED";
}

int GetValueTypeImage(uint32_t type) {
    switch (type) {
        case REG_SZ:
        case REG_EXPAND_SZ:
        case REG_MULTI_SZ:
            return 0;
        case REG_BINARY:
        case REG_DWORD:
        case REG_DWORD_BIG_ENDIAN:
        case REG_RESOURCE_LIST:
        case REG_FULL_RESOURCE_DESCRIPTOR:
        case REG_RESOURCE_REQUIREMENTS_LIST:
        case REG_QWORD:
            return 1;
        default:
            return -1;
    }
}

std::string FormatValueData(const ValueItem& item, bool multiLine) {
    const std::vector<uint8_t>& data = item.data;
    if (data.empty()) {
        return "(value not set)";
    }
    char text[64];
    size_t next = 0;
    switch (item.type) {
        case REG_SZ:
        case REG_EXPAND_SZ:
            return ToUtf8(Utf16At(data, 0, next));
        case REG_DWORD:
        case REG_DWORD_BIG_ENDIAN: {
            if (data.size() < 4) {
                return {};
            }
            uint32_t v = 0;
            std::memcpy(&v, data.data(), 4);
            std::snprintf(text, sizeof text, "0x%08x (%d)", v, static_cast<int32_t>(v));
            return text;
        }
        case REG_QWORD: {
            if (data.size() < 8) {
                return {};
            }
            uint64_t q = 0;
            std::memcpy(&q, data.data(), 8);
            std::snprintf(text, sizeof text, "0x%016" PRIX64 " (%" PRId64 ")", q,
                          static_cast<int64_t>(q));
            return text;
        }
        case REG_MULTI_SZ: {
            std::string result;
            size_t pos = 0;
            while (pos < data.size()) {
                std::u16string part = Utf16At(data, pos, next);
                if (part.empty()) {
                    break;
                }
                if (pos != 0) {
                    result += multiLine ? "\r\n" : " | ";
                }
                AppendUtf8(part, result);
                pos = next;
            }
            return result;
        }
        default: {
            static constexpr char kHex[] = "0123456789ABCDEF";
            std::string result;
            result.reserve(data.size() * 3);
            for (uint8_t byte : data) {
                result += kHex[byte >> 4];
                result += kHex[byte & 15];
                result += ' ';
            }
            return result;
        }
    }
}

std::vector<ValueRow> KeyValueRows(const KeyItemData& record) {
    std::vector<ValueRow> rows;
    RegKey key = OpenRegKey(record.root, record.subPath);
    if (!key) {
        return rows;
    }
    bool hasDefault = false;
    ValueInfo info;
    for (uint32_t index = 0; EnumValueInfo(key.get(), index, info) == ERROR_SUCCESS; ++index) {
        auto item = std::make_unique<ValueItem>();
        item->type = info.type;
        if (info.size > 0) {
            ReadValueData(key.get(), index, info.size, item->data);
        }
        if (info.name.empty()) {
            item->name = "(Default)";
            hasDefault = true;
        } else {
            item->name = ToUtf8(info.name);
        }
        ValueRow row;
        row.name = item->name;
        row.typeName = GetValueTypeName(item->type);
        row.data = FormatValueData(*item, false);
        row.image = GetValueTypeImage(item->type);
        row.item = std::move(item);
        rows.push_back(std::move(row));
    }
    if (!hasDefault) {
        ValueRow row;
        row.name = "(Default)";
        row.typeName = "REG_SZ";
        row.data = "(value not set)";
        row.image = 0;
        row.item = std::make_unique<ValueItem>();
        row.item->type = REG_SZ;
        row.item->name = row.name;
        rows.push_back(std::move(row));
    }
    return rows;
}

std::vector<ValueRow> FileInformationRows() {
    // The information rows have their own order and labels.
    static constexpr std::pair<const char*, HiveSlot> kRows[] = {
        {"NTUser", HiveSlot::NtUser},
        {"System", HiveSlot::System},
        {"Software", HiveSlot::Software},
        {"Security", HiveSlot::Security},
        {"SAM", HiveSlot::Sam},
        {"BCD-Template", HiveSlot::Bcd},
        {"Components", HiveSlot::Components},
        {".Default", HiveSlot::Default}};
    std::vector<ValueRow> rows;
    const FileSet& set = CurrentFileSet();
    for (const auto& [label, slot] : kRows) {
        ValueRow row;
        row.name = label;
        row.typeName = "<information>";
        row.data = set[slot].empty() ? "<EMPTY>" : set[slot];
        rows.push_back(std::move(row));
    }
    return rows;
}

}  // namespace hivora::ui
