// The data a value hit carries: the values list's text of it, cut short for a results list.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace hivora {

// Characters (not bytes) a preview keeps before it is cut.
inline constexpr size_t kHitPreviewChars = 100;
// Marks a preview that was cut: one character, U+2026.
inline constexpr const char* kHitPreviewCut = "\u2026";

// FormatValueData's list form of the data, its first kHitPreviewChars characters followed by
// kHitPreviewCut when there are more.
std::string HitDataPreview(uint32_t type, std::span<const uint8_t> bytes);

}  // namespace hivora
