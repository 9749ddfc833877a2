// Parsing of hive transaction logs, in both layouts Windows writes:
//   - the older one: a partial base block, a "DIRT" bitmap of dirty 512-byte pages, the pages;
//   - the newer one: a partial base block, then "HvLE" entries, each a batch of dirty pages
//     with a sequence number and two Marvin32 hashes.
// Parsing only reads the log; everything it returns refers to byte ranges of the log that
// have already been checked to lie inside it.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "hive/ImageView.h"

namespace hivora {

inline constexpr uint32_t kBaseBlockSize = 4096;
inline constexpr uint32_t kLogSectorSize = 512;
// The image (base block plus hive bins) stays under 4 GiB, as loaded hive files do.
inline constexpr uint64_t kMaxHiveBinsSize = 0xFFFFE000ull - kBaseBlockSize;

// The base block fields replay needs; the checksum covers the first 508 bytes.
struct BaseBlockFields {
    uint32_t primarySequence = 0;
    uint32_t secondarySequence = 0;
    uint64_t lastWritten = 0;
    uint32_t fileType = 0;  // 0 hive, 1 old-layout log, 6 new-layout log
    uint32_t hiveBinsSize = 0;
    bool checksumOk = false;
};

// nullopt unless the view holds at least one sector starting with "regf".
std::optional<BaseBlockFields> ReadBaseBlock(ImageView view);
// XOR of the first 127 little-endian words; 0 when the view is shorter than a sector.
uint32_t BaseBlockChecksum(ImageView view);

// A run of bytes to copy from the log into the hive bins: `size` bytes at `logOffset` of the
// log go to `binsOffset` counted from the end of the base block.
struct LogPageRun {
    uint32_t binsOffset = 0;
    uint32_t size = 0;
    uint64_t logOffset = 0;
};

struct LogEntry {
    uint32_t sequence = 0;
    uint32_t hiveBinsSize = 0;  // size of the hive bins once this entry is applied
    std::vector<LogPageRun> pages;
};

struct ParsedLog {
    enum class Layout { Unusable, Old, New } layout = Layout::Unusable;
    BaseBlockFields baseBlock;
    std::string problem;  // why the whole log is unusable

    // New layout: the sound entries in file order, up to the first damaged one.
    std::vector<LogEntry> entries;
    std::optional<uint32_t> damagedSequence;  // sequence number the damaged entry claims
    std::string damage;                       // what is wrong with it

    // Old layout: the dirty pages, merged into runs.
    std::vector<LogPageRun> dirtyRuns;
    uint32_t dirtyPageCount = 0;
};

ParsedLog ParseTransactionLog(std::span<const uint8_t> log);

}  // namespace hivora
