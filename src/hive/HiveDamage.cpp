#include "hive/HiveDamage.h"

#include <fmt/format.h>

namespace hivora {

void HiveDamage::Note(DamageKind kind, uint64_t where) {
    const std::lock_guard lock(mutex_);
    seen_[static_cast<size_t>(kind)].insert(where);
}

HiveDamageCounts HiveDamage::Counts() const {
    const std::lock_guard lock(mutex_);
    auto count = [this](DamageKind kind) {
        return static_cast<uint32_t>(seen_[static_cast<size_t>(kind)].size());
    };
    return {count(DamageKind::RecordPassedOver), count(DamageKind::ListCut),
            count(DamageKind::DataUnreadable)};
}

std::string DescribeDamage(const HiveDamageCounts& counts) {
    std::string parts;
    auto add = [&parts](uint32_t n, const char* one, const char* many) {
        if (n != 0) {
            parts += fmt::format("{}{} {}", parts.empty() ? "" : ", ", n, n == 1 ? one : many);
        }
    };
    add(counts.recordsPassedOver, "record passed over", "records passed over");
    add(counts.listsCut, "list cut", "lists cut");
    add(counts.dataUnreadable, "value's data unreadable", "values' data unreadable");
    return parts.empty() ? parts : "damaged: " + parts;
}

}  // namespace hivora
