#include "support/FileTimeFormat.h"

#include <gtest/gtest.h>

#include <clocale>

namespace hivora {
namespace {

// 2004-03-05 12:34:56 UTC.
constexpr FileTime kMarch2004 = kUnixEpochFileTime + FileTime{1078490096} * kFileTimePerSecond;

TEST(FileTimeFormat, ConvertsBetweenFileTimeAndTimeT) {
    EXPECT_EQ(FileTimeToTimeT(kUnixEpochFileTime), 0);
    EXPECT_EQ(FileTimeToTimeT(kMarch2004), 1078490096);
    EXPECT_EQ(FileTimeToTimeT(kMarch2004 + 9'999'999), 1078490096);
    EXPECT_EQ(TimeTToFileTime(1078490096), kMarch2004);
    // Before 1970 and at the FILETIME epoch.
    EXPECT_EQ(FileTimeToTimeT(0), -11644473600);
    EXPECT_EQ(TimeTToFileTime(-11644473600), 0u);
    EXPECT_EQ(TimeTToFileTime(-11644473601), 0u);
}

TEST(FileTimeFormat, LocalDateTimeFollowsTheCLocale) {
    // Tests run with TZ=UTC; LC_TIME decides the form.
    std::setlocale(LC_TIME, "C");
    EXPECT_EQ(FormatLocalDateTime(kMarch2004), "03/05/04 12:34:56");
    EXPECT_EQ(FormatLocalDateTime(0), "01/01/01 00:00:00");
    EXPECT_EQ(FormatLocalTimeT(0), "01/01/70 00:00:00");
    // The full UTC forms ignore the locale and keep four-digit years.
    EXPECT_EQ(FormatUtcDateTime(kMarch2004 + 9'999'999), "2004-03-05 12:34:56 UTC");
    EXPECT_EQ(FormatUtcTimestamp(kMarch2004 + 1), "2004-03-05T12:34:56.0000001Z");
}

TEST(FileTimeFormat, ClockReadingsAreStoredWithoutZoneAdjustment) {
    const ClockReading noon{2020, 1, 1, 12, 0, 0};
    const FileTime stored = ClockReadingToFileTime(noon);
    EXPECT_EQ(FileTimeToTimeT(stored), 1577880000);
    EXPECT_EQ(FileTimeToClockReading(stored), noon);
    EXPECT_EQ(ClockReadingToFileTime({1601, 1, 1, 0, 0, 0}), 0u);

    const FileTime start = TodayStartFileTime();
    const FileTime end = TodayEndFileTime();
    EXPECT_EQ(end - start, FileTime{86399} * kFileTimePerSecond);
    const ClockReading startReading = FileTimeToClockReading(start);
    const ClockReading now = LocalClockNow();
    EXPECT_EQ(startReading.hour, 0);
    // Around midnight the day may have moved on between the two reads.
    EXPECT_TRUE(startReading.day == now.day || now.hour == 0) << now.day;
}

TEST(FileTimeFormat, ParsesClockReadings) {
    struct Row {
        const char* text;
        std::optional<ClockReading> expected;
    };
    const Row rows[] = {
        {"2020-01-01", ClockReading{2020, 1, 1, 0, 0, 0}},
        {"2020-01-01T12:30:05", ClockReading{2020, 1, 1, 12, 30, 5}},
        {"2020-02-29 23:59:59", ClockReading{2020, 2, 29, 23, 59, 59}},
        {"2019-02-29", std::nullopt},
        {"2020-13-01", std::nullopt},
        {"2020-01-01T24:00:00", std::nullopt},
        {"2020-01-01T12:30", std::nullopt},
        {"2020-1-01", std::nullopt},
        {"1600-12-31", std::nullopt},
        {"2020-01-01x", std::nullopt},
        {"", std::nullopt},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(ParseClockReading(row.text), row.expected) << row.text;
    }
}

}  // namespace
}  // namespace hivora
