// Writes new-layout transaction logs ("HvLE" entries) for a hive image, so that tests can
// hand replay logs with exactly the damage they want to see handled.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace hivora::test {

struct PageWrite {
    uint32_t binsOffset;  // counted from the end of the base block
    std::vector<uint8_t> bytes;
};

class LogBuilder {
public:
    // The log's base block is the hive's first sector, marked as a new-layout log.
    explicit LogBuilder(std::span<const uint8_t> hive);

    // Appends an entry with correct hashes; returns its offset in `bytes`.
    size_t AddEntry(uint32_t sequence, uint32_t hiveBinsSize, const std::vector<PageWrite>& pages);
    // Recomputes both hashes of the entry at `start`, after a test changed its fields.
    void RehashEntry(size_t start);

    std::vector<uint8_t> bytes;
};

// Recomputes the checksum of the base block at the start of `bytes`.
void ResealBaseBlock(std::span<uint8_t> bytes);
// Sets the sequence numbers of a hive's base block (and reseals it).
void SetSequences(std::span<uint8_t> hive, uint32_t primary, uint32_t secondary);

}  // namespace hivora::test
