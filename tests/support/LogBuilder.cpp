#include "support/LogBuilder.h"

#include <algorithm>

#include "hive/Marvin32.h"
#include "hive/TransactionLogFormat.h"

namespace hivora::test {

void PutLe32(std::span<uint8_t> bytes, size_t offset, uint32_t value) {
    for (size_t i = 0; i < 4; ++i) {
        bytes[offset + i] = static_cast<uint8_t>(value >> (8 * i));
    }
}

void ResealBaseBlock(std::span<uint8_t> bytes) {
    PutLe32(bytes, 508, BaseBlockChecksum(ImageView(bytes.data(), bytes.size())));
}

void SetSequences(std::span<uint8_t> hive, uint32_t primary, uint32_t secondary) {
    PutLe32(hive, 4, primary);
    PutLe32(hive, 8, secondary);
    ResealBaseBlock(hive);
}

LogBuilder::LogBuilder(std::span<const uint8_t> hive) : bytes(hive.begin(), hive.begin() + 512) {
    PutLe32(bytes, 28, 6);
    ResealBaseBlock(bytes);
}

size_t LogBuilder::AddEntry(uint32_t sequence, uint32_t hiveBinsSize,
                            const std::vector<PageWrite>& pages) {
    const size_t start = bytes.size();
    size_t size = 40 + 8 * pages.size();
    for (const auto& page : pages) {
        size += page.bytes.size();
    }
    size = (size + 511) / 512 * 512;
    bytes.resize(start + size);
    std::span<uint8_t> entry(bytes.data() + start, size);
    std::copy_n("HvLE", 4, entry.begin());
    PutLe32(entry, 4, static_cast<uint32_t>(size));
    PutLe32(entry, 12, sequence);
    PutLe32(entry, 16, hiveBinsSize);
    PutLe32(entry, 20, static_cast<uint32_t>(pages.size()));
    size_t data = 40 + 8 * pages.size();
    for (size_t i = 0; i < pages.size(); ++i) {
        PutLe32(entry, 40 + 8 * i, pages[i].binsOffset);
        PutLe32(entry, 44 + 8 * i, static_cast<uint32_t>(pages[i].bytes.size()));
        std::copy(pages[i].bytes.begin(), pages[i].bytes.end(), entry.begin() + data);
        data += pages[i].bytes.size();
    }
    RehashEntry(start);
    return start;
}

void LogBuilder::RehashEntry(size_t start) {
    const uint32_t size = ImageView(bytes.data(), bytes.size()).U32Or(start + 4, 0);
    const std::span<const uint8_t> entry(bytes.data() + start, size);
    const uint64_t data = Marvin32(entry.subspan(40), kLogEntryHashSeed);
    PutLe32(bytes, start + 24, static_cast<uint32_t>(data));
    PutLe32(bytes, start + 28, static_cast<uint32_t>(data >> 32));
    const uint64_t header = Marvin32(entry.first(32), kLogEntryHashSeed);
    PutLe32(bytes, start + 32, static_cast<uint32_t>(header));
    PutLe32(bytes, start + 36, static_cast<uint32_t>(header >> 32));
}

}  // namespace hivora::test
