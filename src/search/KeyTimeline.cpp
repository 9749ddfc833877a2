#include "search/KeyTimeline.h"

#include <algorithm>

#include "keys/RegistryWalker.h"

namespace hivora {
namespace {

class TimelineCollector : public WalkVisitor {
public:
    TimelineCollector(const TimelineLimits& limits, std::vector<TimelineEntry>& entries)
        : limits_(limits), entries_(entries) {}

    WalkStep Enter(const WalkedKey& key) override {
        if (key.depth == 0) {
            return WalkStep::Descend;
        }
        if (key.reach == KeyReach::Repeated) {
            return WalkStep::Skip;
        }
        if ((!limits_.after || key.lastWrite >= *limits_.after) &&
            (!limits_.before || key.lastWrite <= *limits_.before)) {
            entries_.push_back({key.lastWrite, std::string(key.path)});
        }
        return WalkStep::Descend;
    }

private:
    const TimelineLimits& limits_;
    std::vector<TimelineEntry>& entries_;
};

}  // namespace

KeyTimeline BuildKeyTimeline(const TimelineLimits& limits) {
    KeyTimeline timeline;
    RegistryWalker walker;
    TimelineCollector collector(limits, timeline.entries);
    if (walker.Walk(HKEY_LOCAL_MACHINE, "HKEY_LOCAL_MACHINE", collector)) {
        walker.Walk(HKEY_USERS, "HKEY_USERS", collector);
    }
    timeline.walkCut = walker.Exhausted();
    std::stable_sort(
        timeline.entries.begin(), timeline.entries.end(),
        [](const TimelineEntry& a, const TimelineEntry& b) { return a.lastWrite > b.lastWrite; });
    return timeline;
}

}  // namespace hivora
