#include "hive/WalkGuard.h"

#include "hive/HiveEngine.h"
#include "hive/RegistryBackend.h"

namespace hivora {

WalkGuard::Visit WalkGuard::Enter(HKEY key, int depth) {
    Visit visit;
    if (depth > kMaxDepth) {
        return visit;
    }
    HiveKeyFootprint footprint;
    if (IsLiveRegistry() || !HiveDescribeKey(key, footprint)) {
        return Visit{true, true, true};  // roots and live keys have no cells to repeat
    }
    if (!seenKeys_.insert(footprint.key).second) {
        return visit;
    }
    visit.enter = true;
    visit.values = footprint.valueList == 0 || seenLists_.insert(footprint.valueList).second;
    visit.subkeys = true;
    for (uint64_t list : footprint.subkeyLists) {
        if (!seenLists_.insert(list).second) {
            visit.subkeys = false;  // shares a list with a key already walked
        }
    }
    return visit;
}

}  // namespace hivora
