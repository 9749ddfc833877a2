// Byte buffers for tests: literal bytes, UTF-16LE text and filler patterns.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace hivora::test {

inline std::vector<uint8_t> Bytes(std::initializer_list<int> list) {
    std::vector<uint8_t> out;
    for (int b : list) {
        out.push_back(static_cast<uint8_t>(b));
    }
    return out;
}

// UTF-16LE bytes of `text`, without a terminator; in an ASCII text '|' stands for NUL.
inline std::vector<uint8_t> Utf16Bytes(std::u16string_view text) {
    std::vector<uint8_t> out;
    for (char16_t c : text) {
        out.push_back(static_cast<uint8_t>(c));
        out.push_back(static_cast<uint8_t>(c >> 8));
    }
    return out;
}
inline std::vector<uint8_t> Utf16Bytes(std::string_view ascii) {
    std::u16string text;
    for (char c : ascii) {
        text.push_back(c == '|' ? u'\0' : static_cast<char16_t>(c));
    }
    return Utf16Bytes(std::u16string_view(text));
}

// Bytes that differ from their neighbours, so that a shifted or dropped byte shows.
inline std::vector<uint8_t> Pattern(size_t size) {
    std::vector<uint8_t> out(size);
    for (size_t i = 0; i < size; ++i) {
        out[i] = static_cast<uint8_t>(i * 7 + i / 251);
    }
    return out;
}

}  // namespace hivora::test
