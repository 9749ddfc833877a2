#include "values/ValueFormat.h"

#include <fmt/format.h>

#include "support/LittleEndian.h"
#include "support/TextConvert.h"

namespace hivora {

namespace {

// UTF-16 units from `pos` up to a NUL unit or the end; `pos` ends past the NUL when there
// was one.
std::u16string NextString(std::span<const uint8_t> bytes, size_t& pos) {
    std::u16string text;
    while (pos + 1 < bytes.size()) {
        const char16_t unit = ReadLe16(bytes, pos);
        pos += 2;
        if (unit == 0) {
            return text;
        }
        text.push_back(unit);
    }
    pos = bytes.size();
    return text;
}

std::string FormatMultiString(std::span<const uint8_t> bytes, bool multiLine) {
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

std::string FormatBytes(std::span<const uint8_t> bytes) {
    std::string text;
    text.reserve(bytes.size() * 3);
    for (uint8_t byte : bytes) {
        fmt::format_to(std::back_inserter(text), "{:02X} ", byte);
    }
    return text;
}

}  // namespace

const char* GetValueTypeName(uint32_t type) {
    return ValueTypeOf(type).name;
}

int GetValueTypeImage(uint32_t type) {
    return ValueTypeOf(type).image;
}

std::string Utf16BytesToUtf8(std::span<const uint8_t> bytes) {
    size_t pos = 0;
    return ToUtf8(NextString(bytes, pos));
}

std::string FormatValueData(uint32_t type, std::span<const uint8_t> bytes, bool multiLine) {
    if (bytes.empty()) {
        return kValueNotSet;
    }
    switch (ValueTypeOf(type).listForm) {
        case ValueTextForm::String:
            return Utf16BytesToUtf8(bytes);
        case ValueTextForm::Dword: {
            if (bytes.size() < 4) {
                return {};
            }
            const uint32_t v = ReadLe32(bytes);
            return fmt::format("0x{:08x} ({})", v, static_cast<int32_t>(v));
        }
        case ValueTextForm::Qword: {
            if (bytes.size() < 8) {
                return {};
            }
            const uint64_t q = ReadLe64(bytes);
            return fmt::format("0x{:016X} ({})", q, static_cast<int64_t>(q));
        }
        case ValueTextForm::MultiString:
            return FormatMultiString(bytes, multiLine);
        case ValueTextForm::Bytes:
            break;
    }
    return FormatBytes(bytes);
}

std::string FormatValueData(const ValueItem& item, bool multiLine) {
    const std::span<const uint8_t> bytes(item.data.GetData(), item.data.GetSize());
    return FormatValueData(item.type, bytes, multiLine);
}

}  // namespace hivora
