// The hex dump of the View Binary Data window: bytes with a character column, 16-bit words or
// 32-bit double words, one text line per 16 bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace hivora {

enum class DumpMode { Bytes = 0, Words = 1, DoubleWords = 2 };

// Every mode puts this many bytes on a line, so line n starts at byte n * kDumpBytesPerLine.
inline constexpr size_t kDumpBytesPerLine = 16;

struct DumpText {
    std::vector<std::string> lines;  // one per dump line, without line end
    std::string text;                // every line followed by "\r\n"
};

// Offsets are byte offsets in upper-case hexadecimal: four digits, or as many as the data's
// size takes (five from 64 KiB), the same on every line; numbers are read little-endian. No
// data gives no lines.
DumpText FillDump(const uint8_t* data, size_t size, DumpMode mode);

}  // namespace hivora
