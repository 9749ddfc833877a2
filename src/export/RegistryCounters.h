// The statistics of a registry walk: the counters the export and statistics walks fill, the
// statistics walk itself, and the texts that report them.
#pragma once

#include <cstdint>
#include <string>

#include "fileset/FileSetDescription.h"
#include "hive/RegistryTypes.h"

namespace hivora {

// 64-bit throughout: a large file set passes 2^32 data bytes.
struct RegistryCounters {
    uint64_t keys = 0;  // below the roots; the roots themselves don't count
    uint64_t values = 0;
    uint64_t totalDataBytes = 0;
    uint64_t largestData = 0;
    uint64_t inaccessibleKeys = 0;  // enumerated, but failed to open
    uint64_t mostValues = 0;        // of one key
    uint64_t mostSubkeys = 0;       // of one key
    bool walkCut = false;           // the walk ran out of budget (RegistryWalker)

    void Reset() { *this = RegistryCounters{}; }
    bool operator==(const RegistryCounters&) const = default;
};

// The process-wide record that the last export or statistics run filled.
RegistryCounters& Counters();

class RegistryWalker;

// The statistics walk below `key`, adding to `counters`: only subkeys that open are counted
// as keys.
void CountKeyTree(RegistryWalker& walker, HKEY key, RegistryCounters& counters);

// Statistics of everything below HKEY_LOCAL_MACHINE and HKEY_USERS, into Counters().
const RegistryCounters& CountRegistry();

// "12,345 keys (3 inaccessible), 67,890 values\r\n..." — the three report lines, and a
// fourth when the walk was cut short.
std::string FormatCounterReport(const RegistryCounters& counters);

// The Statistics text: the file-set description (its dates written by `date`, see
// DescribeDate), a line of 27 dashes, the counter report.
std::string FormatStatisticsText(const RegistryCounters& counters, const DescribeDate& date = {});

}  // namespace hivora
