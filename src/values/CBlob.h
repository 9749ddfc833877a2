// A growable block of bytes: the data of one registry value as the program holds it.
#pragma once

#include <cstdint>
#include <string>

namespace hivora {

class CBlob {
public:
    CBlob() = default;
    ~CBlob() { Free(); }
    CBlob(const CBlob& other);
    CBlob& operator=(const CBlob& other);
    CBlob(CBlob&& other) noexcept;
    CBlob& operator=(CBlob&& other) noexcept;

    // Drops what is held and allocates anew: size n, capacity n + n/4 but at least 8. The new
    // bytes are not cleared. Throws std::bad_alloc when the block cannot be had.
    void Allocate(uint32_t n);
    // Grows by n bytes, copied from `bytes` unless it is null (then left uncleared). The block
    // is reallocated to a third above the new size when it runs out. Throws std::bad_alloc when
    // the block cannot grow, including past 4 GiB, and then holds what it held before.
    void AppendBytes(const void* bytes, uint32_t n);
    // Shrinks the size only, or grows as AppendBytes(nullptr, ...).
    void SetSize(uint32_t n);
    void Free();

    uint32_t GetCapacity() const { return capacity_; }
    uint32_t GetSize() const { return size_; }
    uint8_t* GetData() { return data_; }
    const uint8_t* GetData() const { return data_; }

    // Writes the used bytes to `fileName`, creating or truncating it. Throws FileError.
    void SaveToFile(const std::string& fileName) const;

private:
    uint32_t capacity_ = 0;
    uint32_t size_ = 0;
    uint8_t* data_ = nullptr;
};

}  // namespace hivora
