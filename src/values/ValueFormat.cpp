#include "values/ValueFormat.h"

#include <cinttypes>
#include <cstdio>

#include "hive/RegistryTypes.h"
#include "support/TextConvert.h"

namespace hivora {

namespace {

uint8_t ByteAt(std::string_view bytes, size_t i) {
    return static_cast<uint8_t>(bytes[i]);
}

uint64_t ReadLittleEndian(std::string_view bytes, size_t count) {
    uint64_t value = 0;
    for (size_t i = count; i-- > 0;) {
        value = value << 8 | ByteAt(bytes, i);
    }
    return value;
}

// UTF-16 units from `pos` up to a NUL unit or the end; `pos` ends past the NUL when there
// was one.
std::u16string NextString(std::string_view bytes, size_t& pos) {
    std::u16string text;
    while (pos + 1 < bytes.size()) {
        const char16_t unit =
            static_cast<char16_t>(ByteAt(bytes, pos) | ByteAt(bytes, pos + 1) << 8);
        pos += 2;
        if (unit == 0) {
            return text;
        }
        text.push_back(unit);
    }
    pos = bytes.size();
    return text;
}

std::string FormatMultiString(std::string_view bytes, bool multiLine) {
    const char* separator = multiLine ? "\r\n" : " | ";
    std::string text;
    size_t pos = 0;
    bool first = true;
    while (pos + 1 < bytes.size()) {
        const std::u16string part = NextString(bytes, pos);
        if (part.empty()) {
            break;
        }
        if (!first) {
            text += separator;
        }
        AppendUtf8(part, text);
        first = false;
    }
    return text;
}

std::string FormatBytes(std::string_view bytes) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string text(bytes.size() * 3, ' ');
    for (size_t i = 0; i < bytes.size(); ++i) {
        text[i * 3] = kHex[ByteAt(bytes, i) >> 4];
        text[i * 3 + 1] = kHex[ByteAt(bytes, i) & 0xF];
    }
    return text;
}

}  // namespace

const char* GetValueTypeName(uint32_t type) {
    switch (type) {
        case REG_NONE:
            return "REG_NONE";
        case REG_SZ:
            return "REG_SZ";
        case REG_EXPAND_SZ:
            return "REG_EXPAND_SZ";
        case REG_BINARY:
            return "REG_BINARY";
        case REG_DWORD:
        case REG_DWORD_BIG_ENDIAN:
            return "REG_DWORD";
        case REG_LINK:
            return "REG_LINK";
        case REG_MULTI_SZ:
            return "REG_MULTI_SZ";
        case REG_RESOURCE_LIST:
            return "REG_RESOURCE_LIST";
        case REG_FULL_RESOURCE_DESCRIPTOR:
            return "REG_FULL_RESOURCE_DESCRIPTOR";
        case REG_RESOURCE_REQUIREMENTS_LIST:
            return "REG_RESOURCE_REQUIREMENTS_LIST";
        case REG_QWORD:
            return "REG_QWORD";
        default:
            return "UNDEFINED";
    }
}

int GetValueTypeImage(uint32_t type) {
    switch (type) {
        case REG_SZ:
        case REG_EXPAND_SZ:
        case REG_MULTI_SZ:
            return kTypeImageText;
        case REG_BINARY:
        case REG_DWORD:
        case REG_DWORD_BIG_ENDIAN:
        case REG_RESOURCE_LIST:
        case REG_FULL_RESOURCE_DESCRIPTOR:
        case REG_RESOURCE_REQUIREMENTS_LIST:
        case REG_QWORD:
            return kTypeImageNumber;
        default:
            return kNoTypeImage;
    }
}

std::string Utf16BytesToUtf8(std::string_view bytes) {
    size_t pos = 0;
    return ToUtf8(NextString(bytes, pos));
}

std::string FormatValueData(uint32_t type, std::string_view bytes, bool multiLine) {
    if (bytes.empty()) {
        return kValueNotSet;
    }
    char number[64];
    switch (type) {
        case REG_SZ:
        case REG_EXPAND_SZ:
            return Utf16BytesToUtf8(bytes);
        case REG_DWORD:
        // Stored little-endian like REG_DWORD, whatever the type's name promises.
        case REG_DWORD_BIG_ENDIAN: {
            if (bytes.size() < 4) {
                return {};
            }
            const auto v = static_cast<uint32_t>(ReadLittleEndian(bytes, 4));
            std::snprintf(number, sizeof number, "0x%08x (%" PRId32 ")", v,
                          static_cast<int32_t>(v));
            return number;
        }
        case REG_QWORD: {
            if (bytes.size() < 8) {
                return {};
            }
            const uint64_t q = ReadLittleEndian(bytes, 8);
            std::snprintf(number, sizeof number, "0x%016" PRIX64 " (%" PRId64 ")", q,
                          static_cast<int64_t>(q));
            return number;
        }
        case REG_MULTI_SZ:
            return FormatMultiString(bytes, multiLine);
        default:
            return FormatBytes(bytes);
    }
}

std::string FormatValueData(const ValueItem& item, bool multiLine) {
    const std::string_view bytes(reinterpret_cast<const char*>(item.data.GetData()),
                                 item.data.GetSize());
    return FormatValueData(item.type, bytes, multiLine);
}

}  // namespace hivora
