#include "support/LogBuilder.h"

#include <algorithm>

#include "hive/HiveLayout.h"
#include "hive/Marvin32.h"
#include "hive/TransactionLogFormat.h"
#include "support/LittleEndian.h"

namespace hivora::test {

void ResealBaseBlock(std::span<uint8_t> bytes) {
    WriteLittleEndian(bytes, layout::kChecksum,
                      BaseBlockChecksum(ImageView(bytes.data(), bytes.size())));
}

void SetSequences(std::span<uint8_t> hive, uint32_t primary, uint32_t secondary) {
    WriteLittleEndian(hive, layout::kPrimarySequence, primary);
    WriteLittleEndian(hive, layout::kSecondarySequence, secondary);
    ResealBaseBlock(hive);
}

LogBuilder::LogBuilder(std::span<const uint8_t> hive) : bytes(hive.begin(), hive.begin() + 512) {
    WriteLittleEndian(std::span(bytes), layout::kFileType, 6u);  // a new-layout log
    ResealBaseBlock(bytes);
}

// Entry: "HvLE", size, flags, sequence, hive bins size, page count, data hash, header hash,
// then (offset, size) per page and the pages.
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
    for (const auto& [at, value] : {std::pair<size_t, size_t>{4, size},
                                    {12, sequence},
                                    {16, hiveBinsSize},
                                    {20, pages.size()}}) {
        WriteLittleEndian(entry, at, static_cast<uint32_t>(value));
    }
    size_t data = 40 + 8 * pages.size();
    for (size_t i = 0; i < pages.size(); ++i) {
        WriteLittleEndian(entry, 40 + 8 * i, pages[i].binsOffset);
        WriteLittleEndian(entry, 44 + 8 * i, static_cast<uint32_t>(pages[i].bytes.size()));
        std::copy(pages[i].bytes.begin(), pages[i].bytes.end(),
                  entry.begin() + static_cast<ptrdiff_t>(data));
        data += pages[i].bytes.size();
    }
    RehashEntry(start);
    return start;
}

void LogBuilder::RehashEntry(size_t start) {
    const std::span<uint8_t> entry(bytes.data() + start, ReadLe32(bytes, start + 4));
    WriteLittleEndian(entry, 24, Marvin32(entry.subspan(40), kLogEntryHashSeed));
    WriteLittleEndian(entry, 32, Marvin32(entry.first(32), kLogEntryHashSeed));
}

}  // namespace hivora::test
