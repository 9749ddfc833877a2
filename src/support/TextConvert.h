// Conversions between the back end's UTF-16 and the UTF-8 used everywhere above it.
//
// A lone surrogate (found in damaged or odd key names) is kept as its own three-byte
// sequence, so that a name converted to UTF-8 and back gives the same UTF-16 units and a
// path built from shown names always opens its key.
#pragma once

#include <string>
#include <string_view>

namespace hivora {

std::string ToUtf8(std::u16string_view text);
// Appends the UTF-8 form of `text` to `out` (no intermediate string).
void AppendUtf8(std::u16string_view text, std::string& out);
std::u16string ToUtf16(std::string_view text);

// Decodes one code point from UTF-16 at `pos` (which must be inside `text`), advancing it; a
// lone surrogate is its own code point.
char32_t DecodeUtf16(std::u16string_view text, size_t& pos);

// Decodes one code point from UTF-8 at `pos`, advancing it; malformed bytes give U+FFFD.
char32_t DecodeUtf8(std::string_view text, size_t& pos);
void AppendCodePoint(char32_t codePoint, std::string& out);

}  // namespace hivora
