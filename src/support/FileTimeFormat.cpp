#include "support/FileTimeFormat.h"

#include <fmt/format.h>

namespace hivora {

namespace {

constexpr std::time_t kEpochSeconds =
    static_cast<std::time_t>(kUnixEpochFileTime / kFileTimePerSecond);

bool IsLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

// Reads exactly `count` digits at `pos`.
bool ReadNumber(std::string_view text, size_t& pos, size_t count, int& value) {
    if (pos + count > text.size()) {
        return false;
    }
    value = 0;
    for (size_t i = 0; i < count; ++i) {
        const char c = text[pos + i];
        if (c < '0' || c > '9') {
            return false;
        }
        value = value * 10 + (c - '0');
    }
    pos += count;
    return true;
}

bool Expect(std::string_view text, size_t& pos, char c) {
    if (pos < text.size() && text[pos] == c) {
        ++pos;
        return true;
    }
    return false;
}

}  // namespace

std::time_t FileTimeToTimeT(FileTime time) {
    return static_cast<std::time_t>(time / kFileTimePerSecond) - kEpochSeconds;
}

FileTime TimeTToFileTime(std::time_t time) {
    if (time < -kEpochSeconds) {
        return 0;
    }
    return static_cast<FileTime>(time + kEpochSeconds) * kFileTimePerSecond;
}

std::string FormatLocalTimeT(std::time_t time) {
    std::tm local{};
    if (localtime_r(&time, &local) == nullptr) {
        return {};
    }
    char text[128];
    const size_t length = std::strftime(text, sizeof text, "%x %X", &local);
    return std::string(text, length);
}

std::string FormatLocalDateTime(FileTime time) {
    return FormatLocalTimeT(FileTimeToTimeT(time));
}

FileTime ClockReadingToFileTime(const ClockReading& reading) {
    std::tm fields{};
    fields.tm_year = reading.year - 1900;
    fields.tm_mon = reading.month - 1;
    fields.tm_mday = reading.day;
    fields.tm_hour = reading.hour;
    fields.tm_min = reading.minute;
    fields.tm_sec = reading.second;
    return TimeTToFileTime(timegm(&fields));
}

ClockReading FileTimeToClockReading(FileTime time) {
    const std::time_t seconds = FileTimeToTimeT(time);
    std::tm fields{};
    if (gmtime_r(&seconds, &fields) == nullptr) {
        return {};
    }
    return {fields.tm_year + 1900, fields.tm_mon + 1, fields.tm_mday,
            fields.tm_hour,        fields.tm_min,     fields.tm_sec};
}

std::string FormatUtcTimestamp(FileTime time) {
    const ClockReading utc = FileTimeToClockReading(time);
    const auto fraction = static_cast<unsigned>(time % kFileTimePerSecond);
    return fmt::format("{:04}-{:02}-{:02}T{:02}:{:02}:{:02}.{:07}Z", utc.year, utc.month, utc.day,
                       utc.hour, utc.minute, utc.second, fraction);
}

std::string FormatUtcDateTime(FileTime time) {
    const ClockReading utc = FileTimeToClockReading(time);
    return fmt::format("{:04}-{:02}-{:02} {:02}:{:02}:{:02} UTC", utc.year, utc.month, utc.day,
                       utc.hour, utc.minute, utc.second);
}

ClockReading LocalClockNow() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    if (localtime_r(&now, &local) == nullptr) {
        return {};
    }
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
            local.tm_hour,        local.tm_min,     local.tm_sec};
}

FileTime TodayStartFileTime() {
    ClockReading today = LocalClockNow();
    today.hour = today.minute = today.second = 0;
    return ClockReadingToFileTime(today);
}

FileTime TodayEndFileTime() {
    ClockReading today = LocalClockNow();
    today.hour = 23;
    today.minute = 59;
    today.second = 59;
    return ClockReadingToFileTime(today);
}

std::optional<ClockReading> ParseClockReading(std::string_view text) {
    ClockReading reading;
    size_t pos = 0;
    if (!ReadNumber(text, pos, 4, reading.year) || !Expect(text, pos, '-') ||
        !ReadNumber(text, pos, 2, reading.month) || !Expect(text, pos, '-') ||
        !ReadNumber(text, pos, 2, reading.day)) {
        return std::nullopt;
    }
    if (pos < text.size()) {
        if (!(Expect(text, pos, 'T') || Expect(text, pos, ' ')) ||
            !ReadNumber(text, pos, 2, reading.hour) || !Expect(text, pos, ':') ||
            !ReadNumber(text, pos, 2, reading.minute) || !Expect(text, pos, ':') ||
            !ReadNumber(text, pos, 2, reading.second) || pos != text.size()) {
            return std::nullopt;
        }
    }
    if (reading.year < 1601 || reading.month < 1 || reading.month > 12 || reading.day < 1 ||
        reading.day > DaysInMonth(reading.year, reading.month) || reading.hour > 23 ||
        reading.minute > 59 || reading.second > 59) {
        return std::nullopt;
    }
    return reading;
}

}  // namespace hivora
