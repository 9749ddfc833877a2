#include "values/CBlob.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

#include <fcntl.h>
#include <unistd.h>

#include "support/MyException.h"

namespace hivora {

namespace {

// Capacities are computed in 64 bits and capped at the 32-bit limit, so a size near 4 GiB
// never wraps into a capacity smaller than the size.
uint32_t CapFor(uint64_t wanted) {
    return static_cast<uint32_t>(std::min<uint64_t>(wanted, UINT32_MAX));
}

[[noreturn]] void ThrowFileError(const char* what, const std::string& fileName, int error) {
    throw FileError(std::string(what) + " " + fileName + ": " + std::strerror(error));
}

}  // namespace

CBlob::CBlob(const CBlob& other) {
    Allocate(other.size_);
    if (other.size_ != 0) {
        std::memcpy(data_, other.data_, other.size_);
    }
}

CBlob& CBlob::operator=(const CBlob& other) {
    if (this != &other) {
        CBlob copy(other);
        *this = std::move(copy);
    }
    return *this;
}

CBlob::CBlob(CBlob&& other) noexcept
    : capacity_(std::exchange(other.capacity_, 0)),
      size_(std::exchange(other.size_, 0)),
      data_(std::exchange(other.data_, nullptr)) {}

CBlob& CBlob::operator=(CBlob&& other) noexcept {
    if (this != &other) {
        Free();
        capacity_ = std::exchange(other.capacity_, 0);
        size_ = std::exchange(other.size_, 0);
        data_ = std::exchange(other.data_, nullptr);
    }
    return *this;
}

void CBlob::Allocate(uint32_t n) {
    Free();
    const uint32_t capacity = CapFor(std::max<uint64_t>(uint64_t{n} + n / 4, 8));
    auto* data = static_cast<uint8_t*>(std::malloc(capacity));
    if (data == nullptr) {
        throw std::bad_alloc();
    }
    data_ = data;
    capacity_ = capacity;
    size_ = n;
}

void CBlob::AppendBytes(const void* bytes, uint32_t n) {
    if (n == 0) {
        return;
    }
    if (data_ == nullptr) {
        Allocate(0);
    }
    const uint64_t needed = uint64_t{size_} + n;
    if (needed > UINT32_MAX) {
        throw std::bad_alloc();
    }
    if (needed > capacity_) {
        const uint32_t capacity = CapFor(needed / 3 + needed);
        auto* data = static_cast<uint8_t*>(std::realloc(data_, capacity));
        if (data == nullptr) {
            throw std::bad_alloc();
        }
        data_ = data;
        capacity_ = capacity;
    }
    if (bytes != nullptr) {
        std::memcpy(data_ + size_, bytes, n);
    }
    size_ = static_cast<uint32_t>(needed);
}

void CBlob::SetSize(uint32_t n) {
    if (n <= size_) {
        size_ = n;
    } else {
        AppendBytes(nullptr, n - size_);
    }
}

void CBlob::Free() {
    std::free(data_);
    data_ = nullptr;
    capacity_ = 0;
    size_ = 0;
}

void CBlob::SaveToFile(const std::string& fileName) const {
    const int fd = ::open(fileName.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) {
        ThrowFileError("Unable to open", fileName, errno);
    }
    const uint8_t* next = data_;
    uint32_t left = size_;
    while (left > 0) {
        const ssize_t written = ::write(fd, next, left);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            const int error = errno;
            ::close(fd);
            ThrowFileError("Unable to write", fileName, error);
        }
        next += written;
        left -= static_cast<uint32_t>(written);
    }
    if (::close(fd) != 0) {
        ThrowFileError("Unable to write", fileName, errno);
    }
}

}  // namespace hivora
