// Reads the bytes at one offset of a value's data as the numbers, times, identifiers and texts
// they could hold, for the View Binary Data window's interpreter panel.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace hivora {

// Shown for a reading that needs more bytes than remain after the offset.
inline constexpr std::string_view kTooFewBytes = "\u2014";
// Texts are read up to a NUL or this many characters, whichever comes first.
inline constexpr size_t kInterpretedTextLimit = 256;

struct InterpretedRow {
    std::string label;  // "UInt32", "FILETIME", "SID", ...
    std::string text;   // the reading, kTooFewBytes, or a "(not a valid ...)" note

    bool operator==(const InterpretedRow&) const = default;
};

// Every reading of the bytes starting at `offset`, always the same rows in the same order.
// Numbers are little-endian. An offset at or past the end gives kTooFewBytes on every row.
std::vector<InterpretedRow> InterpretBytes(std::span<const uint8_t> data, size_t offset);

// An offset as typed: decimal ("32"), or hexadecimal with a "0x" prefix or an "h" suffix
// ("0x20", "20h"); blanks around it are ignored. Nothing for any other text.
std::optional<size_t> ParseOffsetText(std::string_view text);

}  // namespace hivora
