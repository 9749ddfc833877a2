#include "search/SearchCriteria.h"

#include <ctime>

namespace hivora {
namespace {

// Seconds between 1601-01-01 and 1970-01-01.
constexpr int64_t kEpochDifference = 11644473600;

FileTime TodayAt(int hour, int minute, int second) {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    local.tm_hour = hour;
    local.tm_min = minute;
    local.tm_sec = second;
    local.tm_isdst = 0;
    // The local reading is stored as if it were UTC.
    const int64_t seconds = static_cast<int64_t>(timegm(&local));
    return static_cast<FileTime>(seconds + kEpochDifference) * 10000000u;
}

}  // namespace

FileTime TodayStartReading() {
    return TodayAt(0, 0, 0);
}
FileTime TodayEndReading() {
    return TodayAt(23, 59, 59);
}

}  // namespace hivora
