#include "support/FileTimeFormat.h"

#include <gtest/gtest.h>

#include <clocale>

namespace hivora {
namespace {

// Tests run with TZ=UTC; clock readings are stored without zone adjustment.
TEST(FileTimeFormat, ClockReadingsRoundTripAndFormat) {
    const ClockReading noon{2020, 1, 1, 12, 0, 0};
    const FileTime stored = ClockReadingToFileTime(noon);
    EXPECT_EQ(FileTimeToTimeT(stored), 1577880000);
    EXPECT_EQ(FileTimeToClockReading(stored), noon);
    EXPECT_EQ(TimeTToFileTime(1577880000), stored);
    EXPECT_EQ(ClockReadingToFileTime({1601, 1, 1, 0, 0, 0}), 0u);
    EXPECT_EQ(TimeTToFileTime(-11644473601), 0u);  // before 1601: clamped

    std::setlocale(LC_TIME, "C");
    EXPECT_EQ(FormatLocalDateTime(stored + 9'999'999), "01/01/20 12:00:00");
    EXPECT_EQ(FormatLocalDateTime(0), "01/01/01 00:00:00");
    EXPECT_EQ(FormatLocalTimeT(0), "01/01/70 00:00:00");

    const FileTime start = TodayStartFileTime();
    EXPECT_EQ(TodayEndFileTime() - start, FileTime{86399} * kFileTimePerSecond);
    const ClockReading startReading = FileTimeToClockReading(start);
    const ClockReading now = LocalClockNow();
    EXPECT_EQ(startReading.hour, 0);
    // Around midnight the day may have moved on between the two reads.
    EXPECT_TRUE(startReading.day == now.day || now.hour == 0) << now.day;
}

TEST(FileTimeFormat, ParsesClockReadings) {
    const std::pair<const char*, std::optional<ClockReading>> rows[] = {
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
    for (const auto& [text, expected] : rows) {
        EXPECT_EQ(ParseClockReading(text), expected) << text;
    }
}

}  // namespace
}  // namespace hivora
