// FILETIME (100-nanosecond intervals since 1601-01-01 UTC) against the C library's clock, and
// its text forms.
//
// Two readings of a FILETIME exist in the program. Last-write times are true UTC instants and
// are shown in the local time zone. The search limits are local clock readings stored as if
// they were UTC, without any time-zone adjustment; ClockReading converts those.
#pragma once

#include <ctime>
#include <optional>
#include <string>
#include <string_view>

#include "support/FileTime.h"

namespace hivora {

inline constexpr FileTime kFileTimePerSecond = 10'000'000;
// 1970-01-01 00:00:00 UTC as a FILETIME.
inline constexpr FileTime kUnixEpochFileTime = 116'444'736'000'000'000;

// Whole seconds since 1970, rounded towards the past (times before 1970 are negative).
std::time_t FileTimeToTimeT(FileTime time);
// Times before 1601 give 0.
FileTime TimeTToFileTime(std::time_t time);

// The instant in the local time zone, formatted by the C library's locale ("%x %X", so the
// user's LC_TIME decides once the program has called setlocale). Empty when the local-time
// conversion fails.
std::string FormatLocalDateTime(FileTime time);
std::string FormatLocalTimeT(std::time_t time);

// A calendar date and time of day as a clock shows it, without a time zone.
struct ClockReading {
    int year = 1601;
    int month = 1;  // 1..12
    int day = 1;    // 1..31
    int hour = 0;
    int minute = 0;
    int second = 0;

    bool operator==(const ClockReading&) const = default;
};

// The reading stored as if it were UTC. Readings before 1601 give 0; out-of-range fields
// carry over as the C library's timegm normalises them.
FileTime ClockReadingToFileTime(const ClockReading& reading);
// The inverse: the FILETIME read back as a clock reading, without time-zone adjustment.
ClockReading FileTimeToClockReading(FileTime time);

// The instant in UTC to the FILETIME's full precision: "YYYY-MM-DDTHH:MM:SS.fffffffZ" (seven
// fraction digits). For machine-readable listings (timeline, deleted records, JSON rows).
std::string FormatUtcTimestamp(FileTime time);
// The instant in UTC to the second, for people: "YYYY-MM-DD HH:MM:SS UTC".
std::string FormatUtcDateTime(FileTime time);

// The local clock now.
ClockReading LocalClockNow();
// Today's local date at 00:00:00 and at 23:59:59, as clock readings stored as FILETIMEs: the
// defaults of the search's date limits.
FileTime TodayStartFileTime();
FileTime TodayEndFileTime();

// "YYYY-MM-DD" or "YYYY-MM-DDTHH:MM:SS" (a blank may stand for the T); nothing on any other
// text or on an impossible date or time.
std::optional<ClockReading> ParseClockReading(std::string_view text);

}  // namespace hivora
