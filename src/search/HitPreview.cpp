#include "search/HitPreview.h"

#include <algorithm>

#include "values/ValueFormat.h"

namespace hivora {
namespace {

// More bytes than a preview can show in any form (hex takes three characters a byte, text
// at most two bytes a character), so huge data is never formatted whole.
constexpr size_t kPreviewBytes = 4096;

}  // namespace

std::string HitDataPreview(uint32_t type, std::span<const uint8_t> bytes) {
    std::string text = FormatValueData(type, bytes.first(std::min(bytes.size(), kPreviewBytes)));
    size_t chars = 0;
    for (size_t at = 0; at < text.size(); ++at) {
        // Count lead bytes only, so a cut never splits a UTF-8 sequence.
        if ((static_cast<unsigned char>(text[at]) & 0xC0) != 0x80 && chars++ == kHitPreviewChars) {
            text.resize(at);
            text += kHitPreviewCut;
            break;
        }
    }
    return text;
}

}  // namespace hivora
