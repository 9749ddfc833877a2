// The one bounds-checked way to read bytes out of a hive image.
//
// Every read from a hive goes through an ImageView. Offsets are 64-bit and checked in an
// overflow-proof form, so no offset, count or length stored in a hive can move a read outside
// the image. A failed read yields "absent" (an empty view or std::nullopt), never a crash.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <span>

#include "support/LittleEndian.h"

namespace hivora {

class ImageView {
public:
    ImageView() = default;
    ImageView(const uint8_t* data, size_t size) : data_(data), size_(data ? size : 0) {}
    explicit ImageView(std::span<const uint8_t> bytes) : ImageView(bytes.data(), bytes.size()) {}

    size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    explicit operator bool() const { return data_ != nullptr; }

    bool Contains(uint64_t offset, uint64_t length) const {
        return data_ != nullptr && offset <= size_ && length <= size_ - offset;
    }

    // The sub-view [offset, offset + length), or an invalid view when it does not fit.
    ImageView Sub(uint64_t offset, uint64_t length) const {
        if (!Contains(offset, length)) {
            return {};
        }
        return ImageView(data_ + offset, static_cast<size_t>(length));
    }

    std::optional<uint8_t> U8(uint64_t offset) const {
        if (!Contains(offset, 1)) {
            return std::nullopt;
        }
        return data_[offset];
    }
    std::optional<uint16_t> U16(uint64_t offset) const { return Read<uint16_t>(offset); }
    std::optional<uint32_t> U32(uint64_t offset) const { return Read<uint32_t>(offset); }
    std::optional<uint64_t> U64(uint64_t offset) const { return Read<uint64_t>(offset); }

    // Reads that fall back to a value of the caller's choosing.
    uint16_t U16Or(uint64_t offset, uint16_t fallback) const { return U16(offset).value_or(fallback); }
    uint32_t U32Or(uint64_t offset, uint32_t fallback) const { return U32(offset).value_or(fallback); }

    // Two ASCII letters compared as one little-endian word.
    bool HasSignature(uint64_t offset, char first, char second) const {
        auto word = U16(offset);
        return word && *word == static_cast<uint16_t>(static_cast<uint8_t>(first) |
                                                      (static_cast<uint8_t>(second) << 8));
    }

    // Copies [offset, offset + length) to dest; false (and nothing copied) when it does not fit.
    bool CopyTo(uint64_t offset, uint64_t length, void* dest) const {
        if (!Contains(offset, length)) {
            return false;
        }
        if (length != 0) {
            std::memcpy(dest, data_ + offset, static_cast<size_t>(length));
        }
        return true;
    }

    // Raw pointer to [offset, offset + length), or nullptr when it does not fit.
    const uint8_t* Bytes(uint64_t offset, uint64_t length) const {
        return Contains(offset, length) ? data_ + offset : nullptr;
    }

private:
    template <class T>
    std::optional<T> Read(uint64_t offset) const {
        if (!Contains(offset, sizeof(T))) {
            return std::nullopt;
        }
        return ReadLittleEndian<T>(std::span(data_ + offset, sizeof(T)));
    }

    const uint8_t* data_ = nullptr;
    size_t size_ = 0;
};

}  // namespace hivora
