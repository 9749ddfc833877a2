#include "viewers/DataInterpreter.h"

#include <bit>
#include <charconv>

#include <fmt/format.h>

#include "support/FileTimeFormat.h"
#include "support/TextConvert.h"

namespace hivora {
namespace {

// Windows converts FILETIMEs only below this: later instants are not dates it can show.
constexpr uint64_t kFileTimeLimit = uint64_t{1} << 63;
constexpr size_t kSidMaxSubAuthorities = 15;

// The bytes from the offset on; empty when the offset is at or past the end.
class Cursor {
public:
    Cursor(std::span<const uint8_t> data, size_t offset)
        : bytes_(offset < data.size() ? data.subspan(offset) : std::span<const uint8_t>()) {}

    size_t Size() const { return bytes_.size(); }
    bool Has(size_t count) const { return count <= bytes_.size(); }
    uint8_t Byte(size_t at) const { return bytes_[at]; }

    // `count` bytes at `at`, little-endian; the caller has checked Has(at + count).
    uint64_t Little(size_t at, size_t count) const {
        uint64_t value = 0;
        for (size_t i = count; i-- > 0;) {
            value = value << 8 | bytes_[at + i];
        }
        return value;
    }

private:
    std::span<const uint8_t> bytes_;
};

std::string SignedRow(const Cursor& bytes, size_t count) {
    if (!bytes.Has(count)) {
        return std::string(kTooFewBytes);
    }
    const uint64_t raw = bytes.Little(0, count);
    const unsigned unused = 64 - static_cast<unsigned>(count) * 8;
    // Moves the sign bit to the top, then back with the sign extended.
    const auto value = static_cast<int64_t>(raw << unused) >> unused;
    return fmt::format("{}", value);
}

std::string UnsignedRow(const Cursor& bytes, size_t count) {
    if (!bytes.Has(count)) {
        return std::string(kTooFewBytes);
    }
    return fmt::format("{}", bytes.Little(0, count));
}

std::string FloatRow(const Cursor& bytes) {
    if (!bytes.Has(4)) {
        return std::string(kTooFewBytes);
    }
    return fmt::format("{}", std::bit_cast<float>(static_cast<uint32_t>(bytes.Little(0, 4))));
}

std::string DoubleRow(const Cursor& bytes) {
    if (!bytes.Has(8)) {
        return std::string(kTooFewBytes);
    }
    return fmt::format("{}", std::bit_cast<double>(bytes.Little(0, 8)));
}

std::string FileTimeRow(const Cursor& bytes) {
    if (!bytes.Has(8)) {
        return std::string(kTooFewBytes);
    }
    const uint64_t time = bytes.Little(0, 8);
    if (time >= kFileTimeLimit) {
        return "(not a valid date)";
    }
    return FormatUtcTimestamp(time);
}

std::string UnixTimeRow(const Cursor& bytes) {
    if (!bytes.Has(4)) {
        return std::string(kTooFewBytes);
    }
    const FileTime time = kUnixEpochFileTime + bytes.Little(0, 4) * kFileTimePerSecond;
    std::string text = FormatUtcTimestamp(time);
    // Whole seconds only: drop the fraction, keep the "Z".
    const size_t dot = text.rfind('.');
    text.erase(dot, text.size() - 1 - dot);
    return text;
}

bool IsLeapYear(unsigned year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

unsigned DaysInMonth(unsigned year, unsigned month) {
    static constexpr unsigned kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

// Year, month, day of week, day, hour, minute, second, millisecond: eight 16-bit fields. The
// reading has no time zone of its own, so none is shown.
std::string SystemTimeRow(const Cursor& bytes) {
    if (!bytes.Has(16)) {
        return std::string(kTooFewBytes);
    }
    unsigned field[8];
    for (size_t i = 0; i < 8; ++i) {
        field[i] = static_cast<unsigned>(bytes.Little(i * 2, 2));
    }
    const auto [year, month, weekDay, day, hour, minute, second, milli] = field;
    const bool valid = year >= 1601 && year <= 30827 && month >= 1 && month <= 12 &&
                       weekDay <= 6 && day >= 1 && day <= DaysInMonth(year, month) &&
                       hour < 24 && minute < 60 && second < 60 && milli < 1000;
    if (!valid) {
        return "(not a valid date)";
    }
    return fmt::format("{:04}-{:02}-{:02}T{:02}:{:02}:{:02}.{:03}", year, month, day, hour,
                       minute, second, milli);
}

std::string GuidRow(const Cursor& bytes) {
    if (!bytes.Has(16)) {
        return std::string(kTooFewBytes);
    }
    std::string text = fmt::format("{{{:08X}-{:04X}-{:04X}-", bytes.Little(0, 4),
                                   bytes.Little(4, 2), bytes.Little(6, 2));
    for (size_t i = 8; i < 16; ++i) {
        if (i == 10) {
            text += '-';
        }
        text += fmt::format("{:02X}", bytes.Byte(i));
    }
    text += '}';
    return text;
}

// Revision 1, a count of at most 15 sub-authorities, a 48-bit big-endian identifier
// authority, then the sub-authorities as little-endian 32-bit numbers.
std::string SidRow(const Cursor& bytes) {
    if (!bytes.Has(8)) {
        return std::string(kTooFewBytes);
    }
    const size_t count = bytes.Byte(1);
    if (bytes.Byte(0) != 1 || count > kSidMaxSubAuthorities || !bytes.Has(8 + count * 4)) {
        return "(not a valid SID)";
    }
    uint64_t authority = 0;
    for (size_t i = 2; i < 8; ++i) {
        authority = authority << 8 | bytes.Byte(i);
    }
    std::string text = authority >> 32 == 0 ? fmt::format("S-1-{}", authority)
                                            : fmt::format("S-1-0x{:012X}", authority);
    for (size_t i = 0; i < count; ++i) {
        text += fmt::format("-{}", bytes.Little(8 + i * 4, 4));
    }
    return text;
}

// Control characters would break the row's line; they show as a dot, as in the dump.
void AppendShown(char32_t c, std::string& out) {
    const bool control = c < 0x20 || (c >= 0x7F && c <= 0x9F);
    AppendCodePoint(control ? U'.' : c, out);
}

std::string Quoted(std::string text, bool cut) {
    return "\"" + text + (cut ? "\u2026\"" : "\"");
}

std::string Utf16Row(const Cursor& bytes) {
    const size_t units = bytes.Size() / 2;
    if (units == 0) {
        return std::string(kTooFewBytes);
    }
    std::string text;
    size_t characters = 0;
    size_t at = 0;
    for (; at < units && characters < kInterpretedTextLimit; ++characters) {
        const auto unit = static_cast<char32_t>(bytes.Little(at * 2, 2));
        if (unit == 0) {
            break;
        }
        ++at;
        if (unit >= 0xD800 && unit <= 0xDBFF && at < units) {
            const auto low = static_cast<char32_t>(bytes.Little(at * 2, 2));
            if (low >= 0xDC00 && low <= 0xDFFF) {
                ++at;
                AppendShown(0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00), text);
                continue;
            }
        }
        // A lone surrogate is not a character of its own.
        AppendShown(unit >= 0xD800 && unit <= 0xDFFF ? U'\uFFFD' : unit, text);
    }
    const bool cut = characters == kInterpretedTextLimit && at < units && bytes.Little(at * 2, 2);
    return Quoted(std::move(text), cut);
}

std::string Latin1Row(const Cursor& bytes) {
    if (bytes.Size() == 0) {
        return std::string(kTooFewBytes);
    }
    std::string text;
    size_t at = 0;
    for (; at < bytes.Size() && at < kInterpretedTextLimit && bytes.Byte(at) != 0; ++at) {
        AppendShown(bytes.Byte(at), text);
    }
    const bool cut = at == kInterpretedTextLimit && at < bytes.Size() && bytes.Byte(at) != 0;
    return Quoted(std::move(text), cut);
}

}  // namespace

std::vector<InterpretedRow> InterpretBytes(std::span<const uint8_t> data, size_t offset) {
    const Cursor bytes(data, offset);
    return {
        {"Int8", SignedRow(bytes, 1)},
        {"UInt8", UnsignedRow(bytes, 1)},
        {"Int16", SignedRow(bytes, 2)},
        {"UInt16", UnsignedRow(bytes, 2)},
        {"Int32", SignedRow(bytes, 4)},
        {"UInt32", UnsignedRow(bytes, 4)},
        {"Int64", SignedRow(bytes, 8)},
        {"UInt64", UnsignedRow(bytes, 8)},
        {"Float", FloatRow(bytes)},
        {"Double", DoubleRow(bytes)},
        {"FILETIME", FileTimeRow(bytes)},
        {"Unix time", UnixTimeRow(bytes)},
        {"SYSTEMTIME", SystemTimeRow(bytes)},
        {"GUID", GuidRow(bytes)},
        {"SID", SidRow(bytes)},
        {"UTF-16 text", Utf16Row(bytes)},
        {"Latin-1 text", Latin1Row(bytes)},
    };
}

std::optional<size_t> ParseOffsetText(std::string_view text) {
    const size_t begin = text.find_first_not_of(" \t");
    if (begin == std::string_view::npos) {
        return std::nullopt;
    }
    text = text.substr(begin, text.find_last_not_of(" \t") + 1 - begin);
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        text.remove_prefix(2);
        base = 16;
    } else if (text.size() > 1 && (text.back() == 'h' || text.back() == 'H')) {
        text.remove_suffix(1);
        base = 16;
    }
    size_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

}  // namespace hivora
