#include "viewers/BinaryDump.h"

#include <fmt/format.h>

#include <span>

#include "support/LittleEndian.h"
#include "support/TextConvert.h"

namespace hivora {
namespace {

constexpr size_t kByteLineColumn = 57;  // where the character part starts with 4-digit offsets

void AppendHex(std::string& out, uint32_t value, int digits) {
    fmt::format_to(std::back_inserter(out), "{:0{}X}", value, digits);
}

// Every offset of one dump has the same width: four digits, more when the data's size needs
// them, so that the columns of every line stay aligned.
int OffsetDigits(size_t size) {
    int digits = 4;
    while (digits < 16 && (size >> (4 * digits)) != 0) {
        ++digits;
    }
    return digits;
}

void StartLine(std::string& line, size_t offset, int digits, const char* separator) {
    line.clear();
    fmt::format_to(std::back_inserter(line), "{:0{}X}", offset, digits);
    line += separator;
}


class DumpBuilder {
public:
    explicit DumpBuilder(DumpText& dump) : dump_(dump) {}
    void Finish(const std::string& line) {
        dump_.lines.push_back(line);
        dump_.text += line;
        dump_.text += "\r\n";
    }

private:
    DumpText& dump_;
};

void DumpBytes(std::span<const uint8_t> data, DumpBuilder& out) {
    const size_t size = data.size();
    std::string line;
    std::string characters;
    const int digits = OffsetDigits(size);
    const size_t column = kByteLineColumn + static_cast<size_t>(digits - 4);
    for (size_t i = 0; i < size; ++i) {
        if (i % kDumpBytesPerLine == 0) {
            StartLine(line, i, digits, ": ");
            characters.clear();
        }
        AppendHex(line, data[i], 2);
        line += ' ';
        // A byte above 0x1F stands for itself: its Latin-1 character, in UTF-8.
        AppendCodePoint(data[i] > 0x1F ? data[i] : U'.', characters);
        if ((i + 1) % 8 == 0) {
            line += ' ';
            characters += ' ';
        }
        if ((i + 1) % kDumpBytesPerLine == 0 || i + 1 == size) {
            line += ' ';
            if (line.size() < column) {
                line.append(column - line.size(), ' ');
            }
            out.Finish(line + characters);
        }
    }
}

void DumpWords(std::span<const uint8_t> data, DumpBuilder& out) {
    const size_t size = data.size();
    std::string line;
    size_t numbers = 0;
    const int digits = OffsetDigits(size);
    for (size_t i = 0; i < size; i += 2) {
        if (numbers == 0) {
            StartLine(line, i, digits, ": ");
        }
        if (i + 1 < size) {
            AppendHex(line, ReadLe16(data, i), 4);
        } else {
            AppendHex(line, data[i], 2);
        }
        line += ' ';
        if (++numbers == kDumpBytesPerLine / 2 || i + 2 >= size) {
            out.Finish(line);
            numbers = 0;
        }
    }
}

void DumpDoubleWords(std::span<const uint8_t> data, DumpBuilder& out) {
    const size_t size = data.size();
    std::string line;
    size_t numbers = 0;
    const int digits = OffsetDigits(size);
    for (size_t i = 0; i < size; i += 4) {
        if (numbers == 0) {
            StartLine(line, i, digits, ":  ");
        }
        const size_t left = size - i;
        if (left >= 4) {
            AppendHex(line, ReadLe32(data, i), 8);
            line += ' ';
        } else if (left == 3) {
            AppendHex(line, ReadLe16(data, i), 4);
            line += ' ';
            AppendHex(line, data[i + 2], 2);
        } else if (left == 2) {
            AppendHex(line, ReadLe16(data, i), 4);
            line += ' ';
        } else {
            AppendHex(line, data[i], 2);
            line += ' ';
        }
        if (++numbers == kDumpBytesPerLine / 4 || i + 4 >= size) {
            out.Finish(line);
            numbers = 0;
        }
    }
}

}  // namespace

DumpText FillDump(const uint8_t* data, size_t size, DumpMode mode) {
    DumpText dump;
    DumpBuilder out(dump);
    const std::span<const uint8_t> bytes(data, data == nullptr ? 0 : size);
    switch (mode) {
        case DumpMode::Bytes:
            DumpBytes(bytes, out);
            break;
        case DumpMode::Words:
            DumpWords(bytes, out);
            break;
        case DumpMode::DoubleWords:
            DumpDoubleWords(bytes, out);
            break;
    }
    return dump;
}

}  // namespace hivora
