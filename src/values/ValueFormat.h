// Type names, type pictures and the one text form of a value's data shown by the values list,
// the Value Data window and the copy commands.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "values/ValueItem.h"
#include "values/ValueTypes.h"

namespace hivora {

inline constexpr const char* kValueNotSet = "(value not set)";

// The name and picture of ValueTypeOf(type).
const char* GetValueTypeName(uint32_t type);
int GetValueTypeImage(uint32_t type);

// The data text. `multiLine` joins multi-strings with CR LF instead of " | ".
std::string FormatValueData(const ValueItem& item, bool multiLine = false);
// The same over raw bytes, for callers that do not hold a ValueItem.
std::string FormatValueData(uint32_t type, std::span<const uint8_t> bytes, bool multiLine = false);

// UTF-16LE bytes up to the first NUL character or the end of the bytes, as UTF-8. An odd
// last byte is not part of any character and is ignored.
std::string Utf16BytesToUtf8(std::span<const uint8_t> bytes);

}  // namespace hivora
