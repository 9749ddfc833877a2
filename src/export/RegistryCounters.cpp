#include "export/RegistryCounters.h"

#include <algorithm>

#include "fileset/FileSetDescription.h"
#include "hive/RegistryBackend.h"
#include "keys/RegistryWalker.h"
#include "support/ThousandsFormat.h"

namespace hivora {
namespace {

class CountWalk : public WalkVisitor {
public:
    CountWalk(RegistryWalker& walker, RegistryCounters& counters)
        : walker_(walker), counters_(counters), backend_(Backend()) {}

    WalkStep Enter(const WalkedKey& key) override {
        if (key.reach == KeyReach::Unopened) {
            ++counters_.inaccessibleKeys;
            return WalkStep::Skip;
        }
        if (key.depth > 0) {
            ++counters_.keys;
        }
        if (key.reach == KeyReach::Open) {
            CountValues(key.key);
        }
        return WalkStep::Descend;
    }

    void Leave(int, uint32_t subkeys) override {
        counters_.mostSubkeys = std::max<uint64_t>(counters_.mostSubkeys, subkeys);
    }

private:
    void CountValues(HKEY key) {
        uint32_t index = 0;
        for (;; ++index) {
            uint32_t type = 0;
            uint32_t size = 0;
            const int32_t status =
                backend_.enumValue(key, index, nullptr, nullptr, nullptr, &type, nullptr, &size);
            if (status != ERROR_SUCCESS && status != ERROR_MORE_DATA) {
                break;
            }
            walker_.ChargeValue(0);  // the data is not read
            counters_.totalDataBytes += size;
            counters_.largestData = std::max<uint64_t>(counters_.largestData, size);
        }
        counters_.values += index;
        counters_.mostValues = std::max<uint64_t>(counters_.mostValues, index);
    }

    RegistryWalker& walker_;
    RegistryCounters& counters_;
    const RegistryBackend& backend_;
};

}  // namespace

RegistryCounters& Counters() {
    static RegistryCounters counters;
    return counters;
}

void CountKeyTree(RegistryWalker& walker, HKEY key, RegistryCounters& counters) {
    CountWalk visitor(walker, counters);
    walker.Walk(key, {}, visitor);
    counters.walkCut = counters.walkCut || walker.Exhausted();
}

const RegistryCounters& CountRegistry() {
    RegistryCounters& counters = Counters();
    counters.Reset();
    RegistryWalker walker;
    CountKeyTree(walker, HKEY_LOCAL_MACHINE, counters);
    CountKeyTree(walker, HKEY_USERS, counters);
    return counters;
}

std::string FormatCounterReport(const RegistryCounters& c) {
    std::string out = FormatThousandsUnsigned(c.keys) + " keys";
    if (c.inaccessibleKeys != 0) {
        out += " (" + std::to_string(c.inaccessibleKeys) + " inaccessible)";
    }
    out += ", " + FormatThousandsUnsigned(c.values) + " values\r\n";
    out += FormatThousandsUnsigned(c.mostSubkeys) + " maximum subkeys per key, ";
    out += FormatThousandsUnsigned(c.mostValues) + " maximum values per key\r\n";
    out += FormatThousandsUnsigned(c.largestData) + " maximum value data size, ";
    out += FormatThousandsUnsigned(c.totalDataBytes) + " total data bytes";
    if (c.walkCut) {
        out += "\r\n";
        out += kWalkBudgetSpentText;
    }
    return out;
}

std::string FormatStatisticsText(const RegistryCounters& counters, const DescribeDate& date) {
    return DescribeFileSet(CurrentFileSet(), date) + "\r\n---------------------------\r\n" +
           FormatCounterReport(counters);
}

}  // namespace hivora
