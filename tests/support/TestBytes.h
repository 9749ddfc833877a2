// Byte buffers for tests: literal bytes, UTF-16LE text and filler patterns.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string_view>
#include <vector>

namespace hivora::test {

inline std::vector<uint8_t> Bytes(std::initializer_list<int> list) {
    return std::vector<uint8_t>(list.begin(), list.end());
}

// UTF-16LE bytes of an ASCII text, without a terminator; '|' stands for NUL.
inline std::vector<uint8_t> Utf16Bytes(std::string_view ascii) {
    std::vector<uint8_t> out;
    for (char c : ascii) {
        out.insert(out.end(), {static_cast<uint8_t>(c == '|' ? 0 : c), 0});
    }
    return out;
}

// UTF-16LE bytes of `text`, without a terminator.
inline std::vector<uint8_t> Utf16Bytes(std::u16string_view text) {
    std::vector<uint8_t> out;
    for (char16_t c : text) {
        out.insert(out.end(), {static_cast<uint8_t>(c), static_cast<uint8_t>(c >> 8)});
    }
    return out;
}

// Counting bytes from `first` (wrapping), so that a dump shows each byte's position.
inline std::vector<uint8_t> Sequence(size_t count, uint8_t first = 0) {
    std::vector<uint8_t> out(count);
    for (size_t i = 0; i < count; ++i) {
        out[i] = static_cast<uint8_t>(first + i);
    }
    return out;
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
