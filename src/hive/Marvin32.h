// Marvin32, the keyed 64-bit hash that guards transaction log entries.
#pragma once

#include <cstdint>
#include <span>

namespace hivora {

// The seed Windows uses for the hashes of log entries.
inline constexpr uint64_t kLogEntryHashSeed = 0x82EF4D887A4E55C5ull;

uint64_t Marvin32(std::span<const uint8_t> data, uint64_t seed);

}  // namespace hivora
