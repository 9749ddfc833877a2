#include "support/ThousandsFormat.h"

#include <charconv>

namespace hivora {
namespace {

void AppendGroups(uint64_t value, char separator, std::string& out) {
    char digits[24];
    const char* end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    const auto count = static_cast<size_t>(end - digits);
    for (size_t i = 0; i < count; ++i) {
        out.push_back(digits[i]);
        const size_t left = count - 1 - i;
        if (left != 0 && left % 3 == 0) {
            out.push_back(separator);
        }
    }
}

}  // namespace

std::string FormatThousands(int64_t value, char separator) {
    std::string out;
    uint64_t magnitude = static_cast<uint64_t>(value);
    if (value < 0) {
        out.push_back('-');
        magnitude = 0 - magnitude;
    }
    AppendGroups(magnitude, separator, out);
    return out;
}

std::string FormatThousandsUnsigned(uint64_t value, char separator) {
    std::string out;
    AppendGroups(value, separator, out);
    return out;
}

}  // namespace hivora
