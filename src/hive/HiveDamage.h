// What the engine passed over in one loaded hive, noted where it reads: records it could not
// read, lists cut short of the count their key states, value data it could not read. Each
// damaged place counts once however often it is read; counts grow as more of the hive is read.
#pragma once

#include <array>
#include <cstdint>
#include <mutex>
#include <set>
#include <string>

namespace hivora {

enum class DamageKind { RecordPassedOver, ListCut, DataUnreadable };

struct HiveDamageCounts {
    uint32_t recordsPassedOver = 0;
    uint32_t listsCut = 0;
    uint32_t dataUnreadable = 0;

    bool Any() const { return recordsPassedOver + listsCut + dataUnreadable != 0; }
};

class HiveDamage {
public:
    // `where` tells damaged places apart (a file offset, or a key cell with an index).
    void Note(DamageKind kind, uint64_t where);
    HiveDamageCounts Counts() const;

private:
    mutable std::mutex mutex_;  // the search worker reads hives beside the window
    std::array<std::set<uint64_t>, 3> seen_;
};

// "damaged: 2 records passed over, 1 list cut, 1 value's data unreadable" (parts that are 0
// left out); empty when nothing was passed over.
std::string DescribeDamage(const HiveDamageCounts& counts);

}  // namespace hivora
