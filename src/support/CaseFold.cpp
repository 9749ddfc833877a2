#include "support/CaseFold.h"

#include "support/TextConvert.h"

namespace hivora {

namespace {

// Malformed bytes decode above the Unicode range, each to its own number.
constexpr char32_t kMalformedBase = 0x110000;

char32_t NextChar(std::string_view text, size_t& pos) {
    const size_t start = pos;
    const char32_t c = DecodeUtf8(text, pos);
    if (c == 0xFFFD && pos - start == 1) {
        return kMalformedBase + static_cast<unsigned char>(text[start]);
    }
    return c;
}

int Sign(char32_t a, char32_t b) {
    return a < b ? -1 : (a > b ? 1 : 0);
}

}  // namespace

char32_t FoldCase(char32_t c) {
    if (c < 0x80) {
        return FoldAscii(c);
    }
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) {  // Latin-1 capitals, not the multiplication sign
        return c + 0x20;
    }
    if (c >= 0x100 && c <= 0x17F) {  // Latin Extended-A: capital and small in pairs
        if ((c <= 0x12F) || (c >= 0x132 && c <= 0x137) || (c >= 0x14A && c <= 0x177)) {
            return c % 2 == 0 ? c + 1 : c;
        }
        if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) {
            return c % 2 == 1 ? c + 1 : c;
        }
        // The dotted and dotless i (0x130, 0x131) have no pair here and stay as they are.
        return c == 0x178 ? 0xFF : c;
    }
    if (c >= 0x391 && c <= 0x3AB && c != 0x3A2) {  // Greek capitals
        return c + 0x20;
    }
    if (c >= 0x410 && c <= 0x42F) {  // Cyrillic capitals
        return c + 0x20;
    }
    if (c >= 0x400 && c <= 0x40F) {
        return c + 0x50;
    }
    return c;
}

std::string FoldCaseUtf8(std::string_view text) {
    std::string folded;
    FoldCaseUtf8(text, folded);
    return folded;
}

void FoldCaseUtf8(std::string_view text, std::string& folded) {
    folded.clear();
    folded.reserve(text.size());
    size_t pos = 0;
    while (pos < text.size()) {
        const unsigned char byte = static_cast<unsigned char>(text[pos]);
        if (byte < 0x80) {
            folded.push_back(FoldAscii(static_cast<char>(byte)));
            ++pos;
            continue;
        }
        const size_t start = pos;
        const char32_t c = NextChar(text, pos);
        const char32_t fold = FoldCase(c);
        if (fold == c) {
            folded.append(text.substr(start, pos - start));
        } else {
            AppendCodePoint(fold, folded);
        }
    }
}

int CompareNoCase(std::string_view a, std::string_view b) {
    size_t i = 0;
    size_t j = 0;
    while (i < a.size() && j < b.size()) {
        const char32_t ca = FoldCase(NextChar(a, i));
        const char32_t cb = FoldCase(NextChar(b, j));
        if (ca != cb) {
            return Sign(ca, cb);
        }
    }
    return (i < a.size()) - (j < b.size());
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    return CompareNoCase(a, b) == 0;
}

bool ContainsNoCase(std::string_view haystack, std::string_view needle) {
    if (needle.empty()) {
        return true;
    }
    return FoldCaseUtf8(haystack).find(FoldCaseUtf8(needle)) != std::string::npos;
}

int CompareForDisplay(std::string_view a, std::string_view b) {
    if (const int order = CompareNoCase(a, b); order != 0) {
        return order;
    }
    // Equal ignoring case: the first character that differs decides, its small form first.
    size_t i = 0;
    size_t j = 0;
    while (i < a.size() && j < b.size()) {
        const char32_t ca = NextChar(a, i);
        const char32_t cb = NextChar(b, j);
        if (ca != cb) {
            const bool aSmall = FoldCase(ca) == ca;
            const bool bSmall = FoldCase(cb) == cb;
            if (aSmall != bSmall) {
                return aSmall ? -1 : 1;
            }
            return Sign(ca, cb);
        }
    }
    return (i < a.size()) - (j < b.size());
}

}  // namespace hivora
