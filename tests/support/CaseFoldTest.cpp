#include "support/CaseFold.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace hivora {
namespace {

TEST(CaseFold, FoldsCapitalsOfEachScriptToTheirSmallLetters) {
    struct Row {
        char32_t capital;
        char32_t small;
    };
    const Row pairs[] = {
        {U'A', U'a'},           {U'\u00C0', U'\u00E0'}, {U'\u0100', U'\u0101'},
        {U'\u0139', U'\u013A'}, {U'\u0178', U'\u00FF'}, {U'\u0391', U'\u03B1'},
        {U'\u0410', U'\u0430'}, {U'\u0401', U'\u0451'},
    };
    for (const Row& row : pairs) {
        EXPECT_EQ(FoldCase(row.capital), row.small) << static_cast<uint32_t>(row.capital);
        EXPECT_EQ(FoldCase(row.small), row.small) << static_cast<uint32_t>(row.small);
    }
    // Not capitals: the multiplication sign, sharp s, dotted capital I, digits, symbols.
    for (char32_t c : {U'\u00D7', U'\u00DF', U'\u0130', U'\u0131', U'5', U'[', U'\u20AC'}) {
        EXPECT_EQ(FoldCase(c), c) << static_cast<uint32_t>(c);
    }
}

TEST(CaseFold, ComparesEqualsAndContainsAgree) {
    struct Row {
        const char* a;
        const char* b;
        bool equal;
    };
    const Row rows[] = {
        {"Software", "SOFTWARE", true},
        {"\xC3\x89t\xC3\xA9", "\xC3\xA9T\xC3\x89", true},                // Été / éTÉ
        {"\xD0\x9C\xD0\xB8\xD1\x80", "\xD0\xBC\xD0\x98\xD0\xA0", true},  // Мир / мИР
        {"abc", "abd", false},
        {"abc", "ab", false},
        {"", "", true},
        // Two different malformed bytes are different characters.
        {"a\xFF", "a\xFE", false},
        {"a\xFF", "a\xEF\xBF\xBD", false},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(EqualsNoCase(row.a, row.b), row.equal) << row.a << " / " << row.b;
        EXPECT_EQ(FoldCaseUtf8(row.a) == FoldCaseUtf8(row.b), row.equal) << row.a;
        EXPECT_EQ(CompareNoCase(row.a, row.b) == 0, row.equal) << row.a;
        EXPECT_EQ(CompareNoCase(row.a, row.b), -CompareNoCase(row.b, row.a)) << row.a;
    }
    EXPECT_LT(CompareNoCase("ab", "abc"), 0);
    EXPECT_LT(CompareNoCase("_x", "a"), 0);

    EXPECT_TRUE(ContainsNoCase("CurrentControlSet", "controlset"));
    EXPECT_TRUE(ContainsNoCase("Na\xC3\xAFve", "A\xC3\x8FV"));  // Naïve / AÏV
    EXPECT_TRUE(ContainsNoCase("anything", ""));
    EXPECT_FALSE(ContainsNoCase("Control", "controls"));
    EXPECT_FALSE(ContainsNoCase("", "a"));

    // Display order (ASCII names are pinned by the values list): small letters first, accents
    // after the plain letter.
    EXPECT_LT(CompareForDisplay("e", "\xC3\xA9"), 0);
    EXPECT_LT(CompareForDisplay("\xC3\xA9", "\xC3\x89"), 0);
    EXPECT_LT(CompareForDisplay("aB", "Ab"), 0);
}

}  // namespace
}  // namespace hivora
