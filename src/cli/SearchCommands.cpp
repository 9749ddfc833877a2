// search: text and date searches from the command line, with the search worker's go-on loop.
#include <CLI/CLI.hpp>
#include <charconv>
#include <memory>
#include <ostream>

#include "cli/CliCommands.h"
#include "search/SearchControl.h"

namespace hivora {
namespace {

struct SearchOptions {
    std::string text;
    bool keys = false;
    bool values = false;
    bool data = false;
    bool whole = false;
    bool all = false;
    std::string from;
    std::string fromValue;
    std::string after;
    std::string before;
    CLI::Option* textOption = nullptr;
    CLI::Option* fromValueOption = nullptr;
    CLI::Option* afterOption = nullptr;
    CLI::Option* beforeOption = nullptr;
};

// Days from 1601-01-01 to the given date of the proleptic Gregorian calendar.
int64_t DaysSince1601(int64_t year, int64_t month, int64_t day) {
    year -= month <= 2 ? 1 : 0;
    const int64_t era = year / 400;  // years here are positive
    const int64_t yearOfEra = year - era * 400;
    const int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    const int64_t daysSince0000 = era * 146097 + dayOfEra;  // from 0000-03-01
    const int64_t days1601 = 1600 / 400 * 146097 + 306;     // 1601-01-01 from 0000-03-01
    return daysSince0000 - days1601;
}

bool ReadNumber(std::string_view text, size_t pos, size_t length, int& value) {
    if (pos + length > text.size()) {
        return false;
    }
    const char* begin = text.data() + pos;
    const auto [end, error] = std::from_chars(begin, begin + length, value);
    return error == std::errc() && end == begin + length;
}

// YYYY-MM-DD or YYYY-MM-DDTHH:MM:SS as a clock reading stored in a FILETIME without any
// time-zone adjustment, as the Find By Date dialog stores its limits. A date alone means
// `defaultTime` seconds into that day.
std::optional<FileTime> ParseDateLimit(std::string_view text, int defaultTime) {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    if (!(text.size() == 10 || text.size() == 19) || !ReadNumber(text, 0, 4, year) ||
        text[4] != '-' || !ReadNumber(text, 5, 2, month) || text[7] != '-' ||
        !ReadNumber(text, 8, 2, day)) {
        return std::nullopt;
    }
    int seconds = defaultTime;
    if (text.size() == 19) {
        if ((text[10] != 'T' && text[10] != ' ') || !ReadNumber(text, 11, 2, hour) ||
            text[13] != ':' || !ReadNumber(text, 14, 2, minute) || text[16] != ':' ||
            !ReadNumber(text, 17, 2, second) || hour > 23 || minute > 59 || second > 59) {
            return std::nullopt;
        }
        seconds = hour * 3600 + minute * 60 + second;
    }
    static constexpr int kMonthDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    if (year < 1601 || month < 1 || month > 12 || day < 1 || day > kMonthDays[month - 1] ||
        (month == 2 && day == 29 && !leap)) {
        return std::nullopt;
    }
    const int64_t total = DaysSince1601(year, month, day) * 86400 + seconds;
    return static_cast<FileTime>(total) * 10000000u;
}

const char* KindName(MatchKind kind) {
    switch (kind) {
        case MatchKind::KeyName:
            return "KeyName";
        case MatchKind::ValueName:
            return "ValueName";
        case MatchKind::ValueData:
            return "ValueData";
        case MatchKind::KeyDate:
            return "KeyDate";
    }
    return "";
}

class PrintingCallback : public SearchCallback {
public:
    PrintingCallback(std::ostream& out, bool all) : out_(out), all_(all) {}
    void Finished(int) override {}
    int Found(const SearchResult& result) override {
        ++hits_;
        const bool keyHit = result.kind == MatchKind::KeyName || result.kind == MatchKind::KeyDate;
        out_ << KindName(result.kind) << '\t' << result.keyPath << '\t'
             << (keyHit ? std::string_view() : std::string_view(result.valueName)) << '\n';
        out_.flush();
        return all_ ? 1 : 0;
    }
    int hits() const { return hits_; }

private:
    std::ostream& out_;
    bool all_;
    int hits_ = 0;
};

SearchCriteria BuildCriteria(const CliContext& context, const SearchOptions& options) {
    SearchCriteria criteria;
    const bool byDate = options.afterOption->count() > 0 || options.beforeOption->count() > 0;
    if (byDate) {
        if (options.textOption->count() > 0 || options.keys || options.values || options.data ||
            options.whole || options.fromValueOption->count() > 0) {
            throw CliUsageError(
                "--after/--before: a date search takes no TEXT, --keys, --values, --data, "
                "--whole or --from-value");
        }
        criteria.byDate = 1;
        criteria.afterOn = options.afterOption->count() > 0 ? 1 : 0;
        criteria.beforeOn = options.beforeOption->count() > 0 ? 1 : 0;
        if (criteria.afterOn) {
            const auto after = ParseDateLimit(options.after, 0);
            if (!after) {
                throw CliUsageError("--after " + options.after +
                                    ": not a date (YYYY-MM-DD or YYYY-MM-DDTHH:MM:SS)");
            }
            criteria.after = *after;
        }
        if (criteria.beforeOn) {
            const auto before = ParseDateLimit(options.before, 86399);
            if (!before) {
                throw CliUsageError("--before " + options.before +
                                    ": not a date (YYYY-MM-DD or YYYY-MM-DDTHH:MM:SS)");
            }
            criteria.before = *before;
        }
    } else {
        if (options.text.empty()) {
            throw CliUsageError(
                "search: TEXT is empty (or give --after/--before for a date search)");
        }
        criteria.text = options.text;
        const bool any = options.keys || options.values || options.data;
        criteria.keys = (!any || options.keys) ? 1 : 0;
        criteria.values = (!any || options.values) ? 1 : 0;
        criteria.data = (!any || options.data) ? 1 : 0;
        criteria.wholeString = options.whole ? 1 : 0;
    }
    if (!options.from.empty()) {
        const CliKeyPath from = context.RequireKeyPath(options.from);
        criteria.startPath =
            from.subPath.empty() ? from.rootName : from.rootName + "\\" + from.subPath;
        criteria.startValue = options.fromValue;
    } else if (options.fromValueOption->count() > 0) {
        throw CliUsageError("--from-value " + options.fromValue + ": needs --from PATH");
    }
    return criteria;
}

int RunSearch(CliContext& context, const SearchOptions& options) {
    const SearchCriteria criteria = BuildCriteria(context, options);
    SearchControl control;
    PrintingCallback callback(context.out, options.all);
    SearchWorker(control, callback, criteria);
    return callback.hits() > 0 ? kExitOk : kExitNotFound;
}

}  // namespace

void AddSearchCommands(CLI::App& app, CliContext& context) {
    auto options = std::make_shared<SearchOptions>();
    CLI::App* search = app.add_subcommand(
        "search",
        "first hit after the start, as KIND<TAB>KEY PATH<TAB>VALUE NAME (KeyName, ValueName, "
        "ValueData, KeyDate; the value name empty for key hits). Text search: TEXT in key names, "
        "value names and string data (all three without --keys/--values/--data). Date search: "
        "--after T and/or --before T, T as YYYY-MM-DD[THH:MM:SS] (the clock reading as stored, "
        "no time-zone adjustment; a date alone means 00:00:00 for --after, 23:59:59 for "
        "--before); the one given alone switches the other limit off. The walk covers "
        "HKEY_LOCAL_MACHINE, then HKEY_USERS, and never wraps around");
    options->textOption = search->add_option("TEXT", options->text, "text to look for");
    search->add_flag("--keys", options->keys, "look at key names");
    search->add_flag("--values", options->values, "look at value names");
    search->add_flag("--data", options->data,
                     "look at string data (REG_SZ, REG_EXPAND_SZ, REG_MULTI_SZ)");
    search->add_flag("--whole", options->whole,
                     "the whole name or string must equal TEXT, ignoring case");
    search
        ->add_option("--from", options->from, "start after this key (its name is not tested again)")
        ->type_name("PATH");
    options->fromValueOption =
        search
            ->add_option(
                "--from-value", options->fromValue,
                "start after this value of the --from key; (default) names the unnamed value")
            ->type_name("NAME");
    options->afterOption =
        search->add_option("--after", options->after, "date search: last written at or after T")
            ->type_name("T");
    options->beforeOption =
        search->add_option("--before", options->before, "date search: last written at or before T")
            ->type_name("T");
    search->add_flag("--all", options->all, "go on from each hit, printing every hit in order");
    search->callback(context.Command([&context, options] { return RunSearch(context, *options); }));
}

}  // namespace hivora
