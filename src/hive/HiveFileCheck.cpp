#include "hive/HiveFileCheck.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <fmt/format.h>

#include "hive/HiveLayout.h"
#include "hive/ImageView.h"
#include "support/LittleEndian.h"

namespace hivora {
namespace {

constexpr uint32_t kLatestMinorVersion = 6;

HiveFileCheck Problem(HiveFileProblem problem, std::string reason) {
    return {problem, std::move(reason)};
}

// Fields no writer produces: the hive may still hold readable keys, but its base block cannot
// be trusted.
std::string AbsurdField(const ImageView& base) {
    const uint32_t major = base.U32Or(layout::kMajorVersion, 0);
    const uint32_t minor = base.U32Or(layout::kMinorVersion, 0);
    if (major != 1 || minor > kLatestMinorVersion) {
        return fmt::format("unknown format version {}.{}", major, minor);
    }
    const uint32_t binsSize = base.U32Or(layout::kHiveBinsDataSize, 0);
    if (binsSize % layout::kHiveBinAlignment != 0) {
        return fmt::format("hive bins size {:#x} is not a multiple of 4 KiB", binsSize);
    }
    const uint32_t root = base.U32Or(layout::kRootCellOffset, layout::kNoCell);
    if (root >= binsSize) {
        return fmt::format("root cell {:#x} lies outside the hive bins", root);
    }
    return {};
}

}  // namespace

uint32_t BaseBlockChecksum(std::span<const uint8_t> baseBlock) {
    uint32_t sum = 0;
    for (size_t at = 0; at + 4 <= layout::kChecksum && at + 4 <= baseBlock.size(); at += 4) {
        sum ^= ReadLe32(baseBlock, at);
    }
    if (sum == 0xFFFFFFFFu) {
        return 0xFFFFFFFEu;
    }
    return sum == 0 ? 1 : sum;
}

HiveFileCheck CheckHiveBytes(std::span<const uint8_t> head, uint64_t fileSize) {
    static constexpr std::array<uint8_t, 4> kRegf = {'r', 'e', 'g', 'f'};
    if (fileSize >= kMaxHiveFileSize) {
        return Problem(HiveFileProblem::TooLarge, "hive file too large (4 GiB or more)");
    }
    if (head.size() < kRegf.size() || !std::equal(kRegf.begin(), kRegf.end(), head.begin())) {
        return Problem(HiveFileProblem::NotAHive, "not a registry hive file");
    }
    if (fileSize < layout::kBaseBlockSize || head.size() < layout::kBaseBlockSize) {
        return Problem(HiveFileProblem::Truncated, "hive file truncated: it ends inside its base block");
    }
    const ImageView base(head.data(), layout::kBaseBlockSize);
    const uint32_t stored = base.U32Or(layout::kChecksum, 0);
    if (stored != BaseBlockChecksum(head)) {
        return Problem(HiveFileProblem::DamagedBaseBlock,
                       fmt::format("damaged base block: checksum {:#010x} does not match", stored));
    }
    if (std::string absurd = AbsurdField(base); !absurd.empty()) {
        return Problem(HiveFileProblem::DamagedBaseBlock, "damaged base block: " + absurd);
    }
    const uint64_t binsEnd = layout::kHiveBinsStart + base.U32Or(layout::kHiveBinsDataSize, 0);
    if (fileSize < binsEnd) {
        return Problem(HiveFileProblem::Truncated,
                       fmt::format("hive file truncated: {} bytes of {} present", fileSize, binsEnd));
    }
    return {};
}

HiveFileCheck CheckHiveFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return Problem(HiveFileProblem::Unreadable,
                       "Unable to open " + path + ": " + std::strerror(errno));
    }
    struct stat info {};
    HiveFileCheck check;
    if (::fstat(fd, &info) != 0) {
        check = Problem(HiveFileProblem::Unreadable, "Unable to open " + path + ": " + std::strerror(errno));
    } else if (S_ISDIR(info.st_mode)) {
        check = Problem(HiveFileProblem::Unreadable, "Unable to open " + path + ": " + std::strerror(EISDIR));
    } else {
        std::array<uint8_t, layout::kBaseBlockSize> head{};
        size_t got = 0;
        while (got < head.size()) {
            const ssize_t n = ::read(fd, head.data() + got, head.size() - got);
            if (n < 0 && errno == EINTR) {
                continue;
            }
            if (n <= 0) {
                break;
            }
            got += static_cast<size_t>(n);
        }
        check = CheckHiveBytes(std::span(head.data(), got), static_cast<uint64_t>(info.st_size));
        if (!check.reason.empty()) {
            check.reason += ": " + path;
        }
    }
    ::close(fd);
    return check;
}

}  // namespace hivora
