#include "hive/WalkGuard.h"

#include <algorithm>

#include "hive/HiveEngine.h"
#include "hive/RegistryBackend.h"

namespace hivora {

bool WalkGuard::SeenCells::Insert(uint64_t cell) {
    constexpr unsigned kImageShift = 34;
    const uint64_t image = cell >> kImageShift;
    const uint64_t offset = cell & ((uint64_t{1} << kImageShift) - 1);
    if ((offset & 7) != 0) {
        return unaligned_.insert(cell).second;
    }
    if (image != lastImage_) {
        lastImage_ = image;
        lastBits_ = &bits_[image];
    }
    std::vector<uint64_t>& bits = *lastBits_;
    const uint64_t index = offset >> 3;
    const size_t word = static_cast<size_t>(index >> 6);
    if (word >= bits.size()) {
        // Doubling keeps the growth linear; offsets are bounded by the image they lie in.
        bits.resize(std::max(word + 1, bits.size() * 2));
    }
    const uint64_t mask = uint64_t{1} << (index & 63);
    if ((bits[word] & mask) != 0) {
        return false;
    }
    bits[word] |= mask;
    return true;
}

WalkGuard::Visit WalkGuard::Enter(HKEY key, int depth) {
    Visit visit;
    if (depth > kMaxDepth) {
        return visit;
    }
    HiveKeyFootprint footprint;
    if (IsLiveRegistry() || !HiveDescribeKey(key, footprint)) {
        return Visit{true, true, true};  // roots and live keys have no cells to repeat
    }
    if (!seenKeys_.Insert(footprint.key)) {
        return visit;
    }
    visit.enter = true;
    visit.values = footprint.valueList == 0 || seenLists_.Insert(footprint.valueList);
    visit.subkeys = true;
    for (uint64_t list : footprint.subkeyLists) {
        if (!seenLists_.Insert(list)) {
            visit.subkeys = false;  // shares a list with a key already walked
        }
    }
    return visit;
}

}  // namespace hivora
