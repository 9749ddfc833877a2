// The data formatter shared by the REG and the text export: one value's data as the text that
// stands behind its name, the REG quoting of strings, and the two hex dump styles.
//
// Everything appends to a caller's std::string so that a whole export can run through one
// output buffer without an allocation per value. Line ends are written as CR LF.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace hivora {

enum class ExportStyle { Reg, Text };

// The nine blanks that stand under "  Data:  " on every further line of a text-style value.
inline constexpr std::string_view kDataIndent = "         ";

// REG style: bytes as "XX,XX,..." with 16 bytes per line, each full line ending in ",\".
// Text style: a dump of 16 pairs per line with a character column, no final line end.
void FormatHexBytes(const uint8_t* data, size_t count, ExportStyle style, std::string& out);

// A UTF-16LE string held in `size` bytes, up to its first NUL or the end of the bytes, in
// UTF-8. REG style puts it between double quotes with backslash and double quote escaped.
void QuoteRegString(const uint8_t* data, size_t size, ExportStyle style, std::string& out);

// The text of one value's data (what follows "name"= in a REG file, or "  Data:  " in a
// text export).
void FormatExportData(uint32_t type, const uint8_t* data, size_t size, ExportStyle style,
                      std::string& out);

// Convenience forms for callers that want a fresh string.
std::string FormatHexBytes(const uint8_t* data, size_t count, ExportStyle style);
std::string FormatExportData(uint32_t type, const uint8_t* data, size_t size, ExportStyle style);

// Helpers for the rest of the export path.
//
// UTF-16 text to UTF-8; a line feed becomes CR LF, as everything the exports write.
void AppendExportText(std::u16string_view text, std::string& out);
// The same with backslash and double quote escaped, for a REG value name.
void AppendRegEscaped(std::u16string_view text, std::string& out);
// UTF-8 text with every line feed written as CR LF.
void AppendWithCrLf(std::string_view text, std::string& out);

}  // namespace hivora
