// Little-endian integers in byte buffers, whatever the host's byte order. The caller has
// checked that the bytes are there; span indexing asserts it in checked builds.
#pragma once

#include <concepts>
#include <cstddef>
#include <cstdint>
#include <span>

namespace hivora {

template <std::unsigned_integral T>
constexpr T ReadLittleEndian(std::span<const std::uint8_t> bytes, std::size_t at = 0) {
    T value = 0;
    for (std::size_t i = 0; i < sizeof(T); ++i) {
        value |= static_cast<T>(static_cast<T>(bytes[at + i]) << (8 * i));
    }
    return value;
}

template <std::unsigned_integral T>
constexpr void WriteLittleEndian(std::span<std::uint8_t> bytes, std::size_t at, T value) {
    for (std::size_t i = 0; i < sizeof(T); ++i) {
        bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

inline std::uint16_t ReadLe16(std::span<const std::uint8_t> bytes, std::size_t at = 0) {
    return ReadLittleEndian<std::uint16_t>(bytes, at);
}
inline std::uint32_t ReadLe32(std::span<const std::uint8_t> bytes, std::size_t at = 0) {
    return ReadLittleEndian<std::uint32_t>(bytes, at);
}
inline std::uint64_t ReadLe64(std::span<const std::uint8_t> bytes, std::size_t at = 0) {
    return ReadLittleEndian<std::uint64_t>(bytes, at);
}

}  // namespace hivora
