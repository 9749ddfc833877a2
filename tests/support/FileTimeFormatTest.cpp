#include "support/FileTimeFormat.h"

#include <gtest/gtest.h>

#include <clocale>

namespace hivora {
namespace {

// Tests run with TZ=UTC; clock readings are stored without zone adjustment.
TEST(FileTimeFormat, ParsesClockReadingsAndFormatsThem) {
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
    };
    for (const auto& [text, expected] : rows) {
        EXPECT_EQ(ParseClockReading(text), expected) << text;
    }
    const FileTime noon = ClockReadingToFileTime({2020, 1, 1, 12, 0, 0});
    EXPECT_EQ(FileTimeToTimeT(noon), 1577880000);
    EXPECT_EQ(FileTimeToClockReading(noon + 9'999'999), (ClockReading{2020, 1, 1, 12, 0, 0}));
    EXPECT_EQ(TimeTToFileTime(-11644473601), 0u);  // before 1601: clamped
    std::setlocale(LC_TIME, "C");
    EXPECT_EQ(FormatLocalDateTime(noon), "01/01/20 12:00:00");
    EXPECT_EQ(FormatLocalDateTime(0), "01/01/01 00:00:00");
    // The full UTC forms ignore the locale and keep four-digit years.
    EXPECT_EQ(FormatUtcDateTime(noon + 9'999'999), "2020-01-01 12:00:00 UTC");
}

}  // namespace
}  // namespace hivora
