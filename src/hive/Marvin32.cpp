#include "hive/Marvin32.h"

#include <bit>

namespace hivora {

namespace {

void Mix(uint32_t& lo, uint32_t& hi) {
    hi ^= lo;
    lo = std::rotl(lo, 20);
    lo += hi;
    hi = std::rotl(hi, 9);
    hi ^= lo;
    lo = std::rotl(lo, 27);
    lo += hi;
    hi = std::rotl(hi, 19);
}

uint32_t LoadLe32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

}  // namespace

uint64_t Marvin32(std::span<const uint8_t> data, uint64_t seed) {
    uint32_t lo = static_cast<uint32_t>(seed);
    uint32_t hi = static_cast<uint32_t>(seed >> 32);
    const size_t whole = data.size() & ~size_t{3};
    for (size_t i = 0; i < whole; i += 4) {
        lo += LoadLe32(data.data() + i);
        Mix(lo, hi);
    }
    // The tail of 0 to 3 bytes, closed by a 0x80 byte, makes the last block.
    uint32_t last = 0x80;
    for (size_t i = data.size(); i > whole; --i) {
        last = (last << 8) | data[i - 1];
    }
    lo += last;
    Mix(lo, hi);
    Mix(lo, hi);
    return static_cast<uint64_t>(hi) << 32 | lo;
}

}  // namespace hivora
