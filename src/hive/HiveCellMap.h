// The cells of a hive image's bins, as their size fields lay them out: which ranges are in use
// and which are free. Built by one pass over the bins; lookups are by binary search.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "hive/ImageView.h"

namespace hivora {

struct HiveCell {
    uint64_t position = 0;  // file offset of the size field
    uint32_t size = 0;      // bytes, size field included
    bool free = false;      // a positive size field

    uint64_t End() const { return position + size; }
};

class HiveCellMap {
public:
    // Walks the bins from file offset 0x1000 to the end of the image. A bin whose header is not readable is skipped
    // 4 KiB at a time; a cell whose size field is zero, unaligned or runs past its bin ends the
    // walk of that bin.
    static HiveCellMap Build(const ImageView& image);

    const std::vector<HiveCell>& Cells() const { return cells_; }

    // The cell whose size field is at file offset `position`.
    std::optional<HiveCell> CellAt(uint64_t position) const;
    // The free cell that holds all of [position, position + length), if any.
    std::optional<HiveCell> FreeCellHolding(uint64_t position, uint64_t length) const;

private:
    std::vector<HiveCell> cells_;  // ascending, never overlapping
};

}  // namespace hivora
