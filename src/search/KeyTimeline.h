// Every key of the loaded set with its last-write time, newest first: the timeline the command
// line prints and a results list can show.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "hive/RegistryTypes.h"

namespace hivora {

struct TimelineEntry {
    FileTime lastWrite = 0;
    std::string path;  // "HKEY_LOCAL_MACHINE\..." or "HKEY_USERS\..."
};

struct TimelineLimits {
    std::optional<FileTime> after;   // inclusive
    std::optional<FileTime> before;  // inclusive
};

struct KeyTimeline {
    std::vector<TimelineEntry> entries;
    bool walkCut = false;  // the walk ran out of budget (RegistryWalker): entries may be missing
};

// The keys of HKEY_LOCAL_MACHINE, then HKEY_USERS, as the one walk reaches them (a key that is
// its own ancestor is left out; one that does not open keeps its enumerated time), within the
// limits, sorted by time, newest first; keys with equal times keep the walk's order.
KeyTimeline BuildKeyTimeline(const TimelineLimits& limits);

}  // namespace hivora
