#include "hive/HiveSet.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <new>

#include "support/TextConvert.h"

namespace hivora {
namespace {

constexpr uint64_t kMaxHiveFileSize = 0xFFFFFFFFull;  // 4 GiB and more is never a hive
constexpr uint32_t kDefaultRootCell = 0x1020;

std::array<std::unique_ptr<HiveImage>, kHiveSlotCount> g_hiveSet;
std::atomic<uint32_t> g_nextGeneration{1};

bool IsKeyRecordAt(const ImageView& image, uint64_t cell) {
    return image.HasSignature(cell + 4, 'n', 'k');
}

}  // namespace

HiveImage::HiveImage(std::unique_ptr<uint8_t[]> bytes, size_t size)
    : bytes_(std::move(bytes)), size_(size), generation_(g_nextGeneration++) {
    const ImageView image = View();
    minorVersion_ = image.U32Or(0x18, 0);
    if (!IsKeyRecordAt(image, kDefaultRootCell)) {
        // Some writers put the root elsewhere; the base block names its cell.
        if (auto rootOffset = image.U32(0x24)) {
            const uint64_t cell = 0x1000ull + *rootOffset;
            if (cell <= 0xFFFFFFFFull && IsKeyRecordAt(image, cell)) {
                rootCell_ = static_cast<uint32_t>(cell);
            }
        }
    }
}

int LoadHiveFile(const char16_t* path, std::unique_ptr<HiveImage>& image) {
    image.reset();
    if (path == nullptr || path[0] == 0) {
        return 0;
    }
    const std::string narrowPath = ToUtf8(std::u16string_view(path));
    const int fd = ::open(narrowPath.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return 0;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size < 4 ||
        static_cast<uint64_t>(info.st_size) >= kMaxHiveFileSize) {
        ::close(fd);
        return 0;
    }
    const size_t size = static_cast<size_t>(info.st_size);
    std::unique_ptr<uint8_t[]> bytes(new (std::nothrow) uint8_t[size]);
    if (!bytes) {
        ::close(fd);
        return 0;
    }
    size_t done = 0;
    while (done < size) {
        const ssize_t got = ::read(fd, bytes.get() + done, size - done);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            break;
        }
        done += static_cast<size_t>(got);
    }
    ::close(fd);
    if (done < size) {
        return 0;
    }
    if (bytes[0] != 'r' || bytes[1] != 'e' || bytes[2] != 'g' || bytes[3] != 'f') {
        return 0;
    }
    image = std::make_unique<HiveImage>(std::move(bytes), size);
    return 1;
}

int LoadHiveSet(const char16_t* system, const char16_t* ntUser, const char16_t* software,
                const char16_t* sam, const char16_t* security, const char16_t* defaultHive,
                const char16_t* components, const char16_t* bcd) {
    FreeHiveSet();
    const char16_t* names[kHiveSlotCount] = {system,   ntUser,      software,   sam,
                                             security, defaultHive, components, bcd};
    bool any = false;
    for (int slot = 0; slot < kHiveSlotCount; ++slot) {
        if (names[slot] == nullptr || names[slot][0] == 0) {
            continue;
        }
        std::unique_ptr<HiveImage> image;
        if (LoadHiveFile(names[slot], image) == 1) {
            image->SetSlotIndex(slot);
            g_hiveSet[static_cast<size_t>(slot)] = std::move(image);
            any = true;
        }
    }
    return any ? 1 : 0;
}

int LoadHiveImage(HiveSlot slot, const uint8_t* bytes, size_t size) {
    auto& target = g_hiveSet[static_cast<size_t>(slot)];
    target.reset();
    if (size < 4 || size >= kMaxHiveFileSize || bytes[0] != 'r' || bytes[1] != 'e' ||
        bytes[2] != 'g' || bytes[3] != 'f') {
        return 0;
    }
    std::unique_ptr<uint8_t[]> copy(new (std::nothrow) uint8_t[size]);
    if (!copy) {
        return 0;
    }
    std::copy(bytes, bytes + size, copy.get());
    target = std::make_unique<HiveImage>(std::move(copy), size);
    target->SetSlotIndex(static_cast<int>(slot));
    return 1;
}

void FreeHiveSet() {
    for (auto& image : g_hiveSet) {
        image.reset();
    }
}

const HiveImage* HiveInSlot(HiveSlot slot) {
    const auto index = static_cast<size_t>(slot);
    return index < g_hiveSet.size() ? g_hiveSet[index].get() : nullptr;
}

}  // namespace hivora
