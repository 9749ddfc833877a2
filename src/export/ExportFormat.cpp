#include "export/ExportFormat.h"

#include <cstring>

#include "hive/RegistryTypes.h"
#include "values/ValueTypes.h"

namespace hivora {
namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";
constexpr char kLowerHexDigits[] = "0123456789abcdef";

HexPairTable BuildHexPairs() {
    HexPairTable table{};
    for (size_t n = 0; n < table.size(); ++n) {
        table[n] = {kHexDigits[n >> 4], kHexDigits[n & 15]};
    }
    return table;
}

// Built during static initialisation so that no export pays for it.
const HexPairTable kHexPairs = BuildHexPairs();

// Appends `size` characters to `out` and returns where they start.
char* Grow(std::string& out, size_t size) {
    const size_t start = out.size();
    out.resize(start + size);
    return out.data() + start;
}

void AppendHexNumber(uint64_t value, int digits, const char* alphabet, std::string& out) {
    char* p = Grow(out, static_cast<size_t>(digits));
    for (int i = digits - 1; i >= 0; --i) {
        p[i] = alphabet[value & 15];
        value >>= 4;
    }
}

void AppendLowerHex(uint32_t value, std::string& out) {
    int digits = 1;
    while (digits < 8 && (value >> (4 * digits)) != 0) {
        ++digits;
    }
    AppendHexNumber(value, digits, kLowerHexDigits, out);
}

uint32_t ReadLe32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

uint64_t ReadLe64(const uint8_t* p) {
    return static_cast<uint64_t>(ReadLe32(p)) | static_cast<uint64_t>(ReadLe32(p + 4)) << 32;
}

// UTF-16 units read from little-endian bytes, so that value data needs no alignment.
struct ByteUnits {
    const uint8_t* data;
    size_t count;
    char16_t operator[](size_t i) const {
        return static_cast<char16_t>(data[2 * i] | data[2 * i + 1] << 8);
    }
};

struct TextUnits {
    std::u16string_view text;
    size_t count;
    char16_t operator[](size_t i) const { return text[i]; }
};

// Number of units before the first NUL (or all of them).
template <typename Units>
size_t TerminatedLength(const Units& units, size_t from = 0) {
    size_t i = from;
    while (i < units.count && units[i] != 0) {
        ++i;
    }
    return i - from;
}

enum class Escape { None, Reg };

// UTF-16 to UTF-8 with lone surrogates kept as their own three-byte sequences (the rule of
// the project's text conversion), line feeds written as CR LF, and REG escapes on request.
template <Escape kEscape, typename Units>
void AppendUnits(const Units& units, size_t begin, size_t end, std::string& out) {
    // Room for the worst case (three bytes per unit), written through a pointer and then cut
    // back: no per-character growth checks.
    const size_t start = out.size();
    out.resize(start + 3 * (end - begin));
    char* p = out.data() + start;
    for (size_t i = begin; i < end; ++i) {
        uint32_t c = units[i];
        if (c < 0x80) {
            if (c == '\n') {
                *p++ = '\r';
            } else if (kEscape == Escape::Reg && (c == '"' || c == '\\')) {
                *p++ = '\\';
            }
            *p++ = static_cast<char>(c);
            continue;
        }
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < end) {
            const uint32_t low = units[i + 1];
            if (low >= 0xDC00 && low <= 0xDFFF) {
                c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
                ++i;  // two units, four bytes: within the room of the pair
            }
        }
        if (c < 0x800) {
            *p++ = static_cast<char>(0xC0 | c >> 6);
            *p++ = static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            *p++ = static_cast<char>(0xE0 | c >> 12);
            *p++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            *p++ = static_cast<char>(0x80 | (c & 0x3F));
        } else {
            *p++ = static_cast<char>(0xF0 | c >> 18);
            *p++ = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            *p++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            *p++ = static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    out.resize(static_cast<size_t>(p - out.data()));
}

void FormatRegHex(const uint8_t* data, size_t count, std::string& out) {
    if (count == 0) {
        return;
    }
    const size_t wraps = (count - 1) / 16;
    char* p = Grow(out, 3 * count - 1 + 3 * wraps);
    for (size_t i = 0; i < count; ++i) {
        if (i != 0 && i % 16 == 0) {
            *p++ = '\\';
            *p++ = '\r';
            *p++ = '\n';
        }
        const auto& pair = kHexPairs[data[i]];
        *p++ = pair[0];
        *p++ = pair[1];
        if (i + 1 != count) {
            *p++ = ',';
        }
    }
}

void FormatTextDump(const uint8_t* data, size_t count, std::string& out) {
    if (count == 0) {
        return;
    }
    char column[16];
    for (size_t i = 0; i < count; ++i) {
        const size_t slot = i % 16;
        if (i != 0 && slot == 0) {
            char* p = Grow(out, 2 + 16 + 2 + kDataIndent.size());
            std::memcpy(p, "  ", 2);
            std::memcpy(p + 2, column, 16);
            std::memcpy(p + 18, "\r\n", 2);
            std::memcpy(p + 20, kDataIndent.data(), kDataIndent.size());
        }
        const uint8_t byte = data[i];
        column[slot] = (byte >= 0x20 && byte <= 0x7E) ? static_cast<char>(byte) : '.';
        const auto& pair = kHexPairs[byte];
        char* p = Grow(out, i + 1 != count ? 3 : 2);
        p[0] = pair[0];
        p[1] = pair[1];
        if (i + 1 != count) {
            p[2] = slot == 8 ? '-' : ' ';
        }
    }
    const size_t rest = count % 16;
    const size_t shown = rest == 0 ? 16 : rest;
    const size_t fill = 1 + (rest == 0 ? 0 : 3 * (16 - rest)) + 2;
    out.append(fill, ' ');
    out.append(column, shown);
}

bool HoldsLineBreak(const ByteUnits& units, size_t length) {
    for (size_t i = 0; i < length; ++i) {
        const char16_t c = units[i];
        if (c == u'\n' || c == u'\r') {
            return true;
        }
    }
    return false;
}

void AppendMultiString(const uint8_t* data, size_t size, std::string& out) {
    const ByteUnits units{data, size / 2};
    size_t pos = 0;
    while (pos < units.count) {
        const size_t length = TerminatedLength(units, pos);
        if (length == 0) {
            break;
        }
        AppendUnits<Escape::None>(units, pos, pos + length, out);
        out.append("\r\n");
        out.append(kDataIndent);
        pos += length + 1;
    }
}

void FormatRegData(uint32_t type, const uint8_t* data, size_t size, std::string& out) {
    switch (ValueTypeOf(type).regForm) {
        case RegDataForm::String: {
            const ByteUnits units{data, size / 2};
            const size_t length = TerminatedLength(units);
            if (!HoldsLineBreak(units, length)) {
                QuoteRegString(data, size, ExportStyle::Reg, out);
                return;
            }
            break;  // a quoted string cannot carry a line break: written as hex(1)
        }
        case RegDataForm::Binary:
            out.append("hex:");
            FormatRegHex(data, size, out);
            return;
        case RegDataForm::Dword:
            if (size >= 4) {
                out.append("dword:");
                AppendHexNumber(ReadLe32(data), 8, kHexDigits, out);
                return;
            }
            break;
        case RegDataForm::Hex:
            break;
    }
    out.append("hex(");
    AppendLowerHex(type, out);
    out.append("):");
    FormatRegHex(data, size, out);
}

void FormatTextData(uint32_t type, const uint8_t* data, size_t size, std::string& out) {
    switch (ValueTypeOf(type).textForm) {
        case ValueTextForm::String:
            QuoteRegString(data, size, ExportStyle::Text, out);
            return;
        case ValueTextForm::MultiString:
            AppendMultiString(data, size, out);
            return;
        case ValueTextForm::Dword:
            if (size >= 4) {
                out.append("0x");
                AppendHexNumber(ReadLe32(data), 8, kHexDigits, out);
                return;
            }
            break;
        case ValueTextForm::Qword:
            if (size >= 8) {
                out.append("0x");
                AppendHexNumber(ReadLe64(data), 16, kHexDigits, out);
                return;
            }
            break;
        case ValueTextForm::Bytes:
            break;
    }
    FormatTextDump(data, size, out);
}

}  // namespace

const HexPairTable& HexPairs() {
    return kHexPairs;
}

void FormatHexBytes(const uint8_t* data, size_t count, ExportStyle style, std::string& out) {
    if (style == ExportStyle::Reg) {
        FormatRegHex(data, count, out);
    } else {
        FormatTextDump(data, count, out);
    }
}

void QuoteRegString(const uint8_t* data, size_t size, ExportStyle style, std::string& out) {
    const ByteUnits units{data, size / 2};
    const size_t length = TerminatedLength(units);
    if (style == ExportStyle::Text) {
        AppendUnits<Escape::None>(units, 0, length, out);
        return;
    }
    out.push_back('"');
    AppendUnits<Escape::Reg>(units, 0, length, out);
    out.push_back('"');
}

void FormatExportData(uint32_t type, const uint8_t* data, size_t size, ExportStyle style,
                      std::string& out) {
    if (size == 0) {
        return;
    }
    if (style == ExportStyle::Reg) {
        FormatRegData(type, data, size, out);
    } else {
        FormatTextData(type, data, size, out);
    }
}

std::string FormatHexBytes(const uint8_t* data, size_t count, ExportStyle style) {
    std::string out;
    FormatHexBytes(data, count, style, out);
    return out;
}

std::string FormatExportData(uint32_t type, const uint8_t* data, size_t size, ExportStyle style) {
    std::string out;
    FormatExportData(type, data, size, style, out);
    return out;
}

void AppendExportText(std::u16string_view text, std::string& out) {
    AppendUnits<Escape::None>(TextUnits{text, text.size()}, 0, text.size(), out);
}

void AppendRegEscaped(std::u16string_view text, std::string& out) {
    AppendUnits<Escape::Reg>(TextUnits{text, text.size()}, 0, text.size(), out);
}

void AppendWithCrLf(std::string_view text, std::string& out) {
    size_t start = 0;
    while (start < text.size()) {
        const size_t lf = text.find('\n', start);
        if (lf == std::string_view::npos) {
            out.append(text.substr(start));
            return;
        }
        out.append(text.substr(start, lf - start));
        out.append("\r\n");
        start = lf + 1;
    }
}

}  // namespace hivora
