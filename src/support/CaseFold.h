// The one case-insensitive comparison of texts outside the hive engine: search, sorting, name
// compares. It folds ASCII, Latin-1, Latin Extended-A, Greek and Cyrillic capitals to their
// small letters, the same way everywhere, so that a name found by the search also matches
// when selected and sorts next to its other spellings.
//
// Texts are UTF-8. A byte that is not part of a well-formed sequence is its own character,
// distinct from every other, so damaged names never compare equal to different ones.
#pragma once

#include <string>
#include <string_view>

namespace hivora {

// An ASCII capital to its small letter, any other character (of any width) unchanged: how
// key names are matched in the hive engine and how Windows paths are matched on the host.
template <class Char>
constexpr Char FoldAscii(Char c) {
    return (c >= Char('A') && c <= Char('Z')) ? static_cast<Char>(c + (Char('a') - Char('A'))) : c;
}

// ASCII-only case-insensitive equality, for names the registry compares that way.
template <class Char>
constexpr bool EqualsAsciiNoCase(std::basic_string_view<Char> a, std::basic_string_view<Char> b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (FoldAscii(a[i]) != FoldAscii(b[i])) {
            return false;
        }
    }
    return true;
}

// The small letter for a capital, else the character itself.
char32_t FoldCase(char32_t c);

// `text` with every character folded, still UTF-8 (malformed bytes kept as they are). Two
// texts are equal ignoring case exactly when their folded forms are equal, and a folded
// needle is found in a folded haystack exactly when ContainsNoCase says so.
std::string FoldCaseUtf8(std::string_view text);
// The same into `folded` (replaced), so a caller folding many texts reuses one buffer.
void FoldCaseUtf8(std::string_view text, std::string& folded);

// Negative, zero or positive as `a` sorts before, with or after `b` by folded characters.
int CompareNoCase(std::string_view a, std::string_view b);
bool EqualsNoCase(std::string_view a, std::string_view b);
bool ContainsNoCase(std::string_view haystack, std::string_view needle);

// The order of the values list: alphabetical ignoring case; texts that differ in case alone
// put the small letter first ("a" < "A" < "b"). Zero only for identical texts.
int CompareForDisplay(std::string_view a, std::string_view b);

}  // namespace hivora
