#include "hive/HiveCellMap.h"

#include <algorithm>

#include "hive/HiveRecords.h"

namespace hivora {
namespace {

constexpr uint64_t kBinAlignment = 0x1000;
constexpr uint64_t kBinHeaderSize = 0x20;

}  // namespace

HiveCellMap HiveCellMap::Build(const ImageView& image) {
    HiveCellMap map;
    // Bins past the size the base block states are walked too: a hive that shrank leaves
    // its old bins, and their free cells, at the end of the file.
    const uint64_t binsEnd = image.size();
    uint64_t bin = kHiveBinsStart;
    while (bin + kBinHeaderSize <= binsEnd) {
        if (!image.HasSignature(bin, 'h', 'b') || !image.HasSignature(bin + 2, 'i', 'n')) {
            bin += kBinAlignment;
            continue;
        }
        uint64_t binSize = image.U32Or(bin + 8, 0);
        if (binSize < kBinAlignment || binSize % kBinAlignment != 0 || binSize > binsEnd - bin) {
            binSize = std::min(kBinAlignment, binsEnd - bin);
        }
        const uint64_t binEnd = bin + binSize;
        uint64_t cell = bin + kBinHeaderSize;
        while (cell + 8 <= binEnd) {
            const auto raw = static_cast<int32_t>(image.U32Or(cell, 0));
            const int64_t signedSize = raw;
            const uint64_t size = static_cast<uint64_t>(signedSize < 0 ? -signedSize : signedSize);
            if (size < 8 || size % 8 != 0 || size > binEnd - cell) {
                break;  // the rest of this bin cannot be laid out
            }
            map.cells_.push_back({cell, static_cast<uint32_t>(size), raw > 0});
            cell += size;
        }
        bin = binEnd;
    }
    return map;
}

std::optional<HiveCell> HiveCellMap::CellAt(uint64_t position) const {
    auto it = std::lower_bound(cells_.begin(), cells_.end(), position,
                               [](const HiveCell& cell, uint64_t at) { return cell.position < at; });
    if (it == cells_.end() || it->position != position) {
        return std::nullopt;
    }
    return *it;
}

std::optional<HiveCell> HiveCellMap::FreeCellHolding(uint64_t position, uint64_t length) const {
    auto it = std::upper_bound(cells_.begin(), cells_.end(), position,
                               [](uint64_t at, const HiveCell& cell) { return at < cell.position; });
    if (it == cells_.begin()) {
        return std::nullopt;
    }
    --it;
    if (!it->free || position - it->position > it->size || length > it->End() - position) {
        return std::nullopt;
    }
    return *it;
}

}  // namespace hivora
