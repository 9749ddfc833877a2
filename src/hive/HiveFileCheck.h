// Whether a file is a hive the engine can load, and if not, why not. The one place that
// decides it: the engine's loader, the command-line tool and the file dialogs all ask here.
//
// Strict at the door, tolerant inside: a file is refused only when it cannot be read, does
// not begin with "regf" or is 4 GiB or more. A truncated file or a damaged base block is
// reported but still loads, because what remains readable is still worth showing (and a
// transaction log may repair the base block).
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace hivora {

// Sizes from here on are never a hive: cell offsets are 32-bit.
inline constexpr uint64_t kMaxHiveFileSize = uint64_t{1} << 32;

enum class HiveFileProblem { None, Unreadable, NotAHive, TooLarge, Truncated, DamagedBaseBlock };

struct HiveFileCheck {
    HiveFileProblem problem = HiveFileProblem::None;
    std::string reason;  // a sentence for the user; empty when there is no problem

    bool Loadable() const {
        return problem == HiveFileProblem::None || problem == HiveFileProblem::Truncated ||
               problem == HiveFileProblem::DamagedBaseBlock;
    }
};

// Checks the start of a file held in memory: `head` is its first bytes (the whole base block
// when the file is that long), `fileSize` the length of the whole file.
HiveFileCheck CheckHiveBytes(std::span<const uint8_t> head, uint64_t fileSize);
inline HiveFileCheck CheckHiveBytes(std::span<const uint8_t> bytes) {
    return CheckHiveBytes(bytes, bytes.size());
}

// Opens `path` (UTF-8) and checks its size and base block without reading the rest. Reasons
// name the file.
HiveFileCheck CheckHiveFile(const std::string& path);

// The base block's checksum over its first 508 bytes, as Windows computes it.
uint32_t BaseBlockChecksum(std::span<const uint8_t> baseBlock);

}  // namespace hivora
