// libFuzzer target: a hive and one or two transaction logs, replayed together.
//
// Input: one option byte, then the hive, then each log, separated by kSeparator. Bit 0 of the
// option byte re-hashes every log entry first, so that mutations reach the checks behind the
// hashes instead of stopping at them.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "hive/LogReplay.h"
#include "hive/Marvin32.h"

namespace {

constexpr std::string_view kSeparator = "--hivora-log--";

std::vector<std::vector<uint8_t>> Split(const uint8_t* data, size_t size) {
    std::vector<std::vector<uint8_t>> parts;
    const uint8_t* end = data + size;
    const auto* sep = reinterpret_cast<const uint8_t*>(kSeparator.data());
    while (parts.size() < 2) {
        const uint8_t* at = std::search(data, end, sep, sep + kSeparator.size());
        parts.emplace_back(data, at);
        if (at == end) {
            return parts;
        }
        data = at + kSeparator.size();
    }
    parts.emplace_back(data, end);
    return parts;
}

void PutLe64(std::vector<uint8_t>& bytes, size_t offset, uint64_t value) {
    for (size_t i = 0; i < 8; ++i) {
        bytes[offset + i] = static_cast<uint8_t>(value >> (8 * i));
    }
}

void Rehash(std::vector<uint8_t>& log) {
    size_t offset = 512;
    while (offset + 40 <= log.size() &&
           std::equal(log.begin() + offset, log.begin() + offset + 4, "HvLE")) {
        const size_t size = log[offset + 4] | log[offset + 5] << 8 | log[offset + 6] << 16 |
                            static_cast<size_t>(log[offset + 7]) << 24;
        if (size < 40 || size > log.size() - offset) {
            return;
        }
        const std::span<const uint8_t> entry(log.data() + offset, size);
        PutLe64(log, offset + 24, hivora::Marvin32(entry.subspan(40), hivora::kLogEntryHashSeed));
        PutLe64(log, offset + 32, hivora::Marvin32(entry.first(32), hivora::kLogEntryHashSeed));
        offset += std::max<size_t>(size, 512);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) {
        return 0;
    }
    const bool rehash = data[0] & 1;
    auto parts = Split(data + 1, size - 1);
    std::vector<uint8_t> image = std::move(parts[0]);
    std::vector<hivora::TransactionLogFile> logs;
    for (size_t i = 1; i < parts.size(); ++i) {
        if (rehash) {
            Rehash(parts[i]);
        }
        logs.push_back({i == 1 ? "h.LOG1" : "h.LOG2", std::move(parts[i])});
    }
    const std::vector<uint8_t> before = image;
    const auto report = hivora::ReplayTransactionLogs(image, logs);
    // Refusal must leave the image exactly as it was; success must leave a consistent hive.
    if (report.state != hivora::LogReplayReport::State::Applied ? image != before
                                                                : hivora::IsHiveDirty(image)) {
        __builtin_trap();
    }
    return 0;
}
