#include "hive/HiveSet.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>

#include "hive/HiveLayout.h"
#include "hive/LogReplay.h"
#include "hive/TransactionLogFiles.h"
#include "support/TextConvert.h"

namespace hivora {
namespace {

constexpr uint32_t kDefaultRootCell = layout::kHiveBinsStart + 0x20;  // the first cell of the first bin

std::array<std::unique_ptr<HiveImage>, kHiveSlotCount> g_hiveSet;
std::atomic<uint32_t> g_nextGeneration{1};

bool IsKeyRecordAt(const ImageView& image, uint64_t cell) {
    return image.HasSignature(cell + layout::kCellSizeWord, 'n', 'k');
}

}  // namespace

HiveImage::HiveImage(std::vector<uint8_t> bytes, HiveLoadReport report)
    : bytes_(std::move(bytes)),
      report_(std::move(report)),
      rootCell_(kDefaultRootCell),
      generation_(g_nextGeneration++) {
    const ImageView image = View();
    minorVersion_ = image.U32Or(layout::kMinorVersion, 0);
    if (!IsKeyRecordAt(image, kDefaultRootCell)) {
        // Some writers put the root elsewhere; the base block names its cell.
        if (auto rootOffset = image.U32(layout::kRootCellOffset)) {
            const uint64_t cell = layout::kHiveBinsStart + *rootOffset;
            if (cell <= 0xFFFFFFFFull && IsKeyRecordAt(image, cell)) {
                rootCell_ = static_cast<uint32_t>(cell);
            }
        }
    }
}

std::optional<std::vector<uint8_t>> ReadHiveFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return std::nullopt;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) ||
        static_cast<uint64_t>(info.st_size) >= kMaxHiveFileSize) {
        ::close(fd);
        return std::nullopt;
    }
    std::optional<std::vector<uint8_t>> bytes;
    try {
        bytes.emplace(static_cast<size_t>(info.st_size));
    } catch (const std::bad_alloc&) {
        ::close(fd);
        return std::nullopt;
    }
    size_t done = 0;
    while (done < bytes->size()) {
        const ssize_t got = ::read(fd, bytes->data() + done, bytes->size() - done);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            break;
        }
        done += static_cast<size_t>(got);
    }
    ::close(fd);
    if (done < bytes->size()) {
        return std::nullopt;  // the file shrank while it was read
    }
    return bytes;
}

std::unique_ptr<HiveImage> PrepareHiveImage(std::vector<uint8_t> bytes, const std::string& hivePath,
                                            const LoadOptions& options, HiveFileCheck check) {
    HiveLoadReport report{hivePath, std::move(check), nullptr, std::make_shared<HiveDamage>()};
    if (options.applyLogs && !hivePath.empty()) {
        auto replay = std::make_shared<LogReplayReport>();
        const std::span<const uint8_t> baseBlock(bytes.data(),
                                                 std::min<size_t>(bytes.size(), layout::kHiveBinsStart));
        if (IsHiveDirty(baseBlock)) {
            // Logs are read only for dirty hives: a clean one costs no more than before.
            *replay = ReplayTransactionLogs(bytes, ReadTransactionLogs(hivePath));
        } else {
            for (const auto& log : FindTransactionLogs(hivePath)) {
                replay->logFiles.push_back(log.filename().string());
            }
        }
        if (replay->state == LogReplayReport::State::Applied) {
            // The replayed image may have mended the base block or the truncation the
            // primary file was checked with.
            report.check = CheckHiveBytes(bytes);
        }
        report.logReplay = std::move(replay);
    }
    return std::make_unique<HiveImage>(std::move(bytes), std::move(report));
}

int LoadHiveFile(const char16_t* path, std::unique_ptr<HiveImage>& image, const LoadOptions& options) {
    image.reset();
    if (path == nullptr || path[0] == 0) {
        return 0;
    }
    const std::string file = ToUtf8(std::u16string_view(path));
    std::optional<std::vector<uint8_t>> bytes = ReadHiveFile(file);
    if (!bytes) {
        return 0;
    }
    HiveFileCheck check = CheckHiveBytes(*bytes);
    if (!check.Loadable()) {
        return 0;
    }
    image = PrepareHiveImage(std::move(*bytes), file, options, std::move(check));
    return 1;
}

int LoadHiveSet(const char16_t* system, const char16_t* ntUser, const char16_t* software,
                const char16_t* sam, const char16_t* security, const char16_t* defaultHive,
                const char16_t* components, const char16_t* bcd, const LoadOptions& options) {
    FreeHiveSet();
    const char16_t* names[kHiveSlotCount] = {system,   ntUser,      software,   sam,
                                             security, defaultHive, components, bcd};
    bool any = false;
    for (int slot = 0; slot < kHiveSlotCount; ++slot) {
        if (names[slot] == nullptr || names[slot][0] == 0) {
            continue;
        }
        std::unique_ptr<HiveImage> image;
        if (LoadHiveFile(names[slot], image, options) == 1) {
            image->SetSlotIndex(slot);
            g_hiveSet[static_cast<size_t>(slot)] = std::move(image);
            any = true;
        }
    }
    return any ? 1 : 0;
}

int LoadHiveImage(HiveSlot slot, std::span<const uint8_t> bytes) {
    auto& target = g_hiveSet[static_cast<size_t>(slot)];
    target.reset();
    HiveFileCheck check = CheckHiveBytes(bytes);
    if (!check.Loadable()) {
        return 0;
    }
    std::vector<uint8_t> copy;
    try {
        copy.assign(bytes.begin(), bytes.end());
    } catch (const std::bad_alloc&) {
        return 0;
    }
    target = PrepareHiveImage(std::move(copy), {}, LoadOptions{.applyLogs = false}, std::move(check));
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
