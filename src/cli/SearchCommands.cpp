// search: text, pattern and date searches from the command line, with the search worker's go-on
// loop.
#include <CLI/CLI.hpp>
#include <memory>
#include <ostream>

#include "cli/CliCommands.h"
#include "cli/RowPrinter.h"
#include "keys/RegistryWalker.h"
#include "search/SearchControl.h"
#include "search/TextPattern.h"
#include "support/FileTimeFormat.h"

namespace hivora {
namespace {

struct SearchOptions {
    std::string text;
    bool keys = false;
    bool values = false;
    bool data = false;
    bool whole = false;
    bool regex = false;
    bool matchCase = false;
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

class PrintingCallback : public SearchCallback {
public:
    PrintingCallback(const CliContext& context, bool all)
        : out_(context.out),
          rows_(MakeRowPrinter(context.out, context.json, {"kind", "path", "value"})),
          all_(all) {}
    void Finished(int reason) override { reason_ = reason; }
    int Found(const SearchResult& result) override {
        ++hits_;
        const bool keyHit = result.kind == MatchKind::KeyName || result.kind == MatchKind::KeyDate;
        const std::string cells[] = {std::string(NamesOf(result.kind).token), result.keyPath,
                                     keyHit ? std::string() : result.valueName};
        rows_->WriteRow(cells);
        // Each hit shows at once, however long the rest of the walk takes.
        out_.flush();
        return all_ ? 1 : 0;
    }
    int hits() const { return hits_; }
    int reason() const { return reason_; }

private:
    std::ostream& out_;
    std::unique_ptr<ResultWriter> rows_;
    bool all_;
    int hits_ = 0;
    int reason_ = kSearchNothingFound;
};

SearchCriteria BuildCriteria(const CliContext& context, const SearchOptions& options) {
    SearchCriteria criteria;
    const bool byDate = options.afterOption->count() > 0 || options.beforeOption->count() > 0;
    if (byDate) {
        if (options.textOption->count() > 0 || options.keys || options.values || options.data ||
            options.whole || options.regex || options.matchCase ||
            options.fromValueOption->count() > 0) {
            throw CliUsageError(
                "--after/--before: a date search takes no TEXT, --keys, --values, --data, "
                "--whole, --regex, --case or --from-value");
        }
        criteria.byDate = 1;
        criteria.afterOn = options.afterOption->count() > 0 ? 1 : 0;
        criteria.beforeOn = options.beforeOption->count() > 0 ? 1 : 0;
        if (criteria.afterOn) {
            criteria.after = ParseDateLimit("--after", options.after, false);
        }
        if (criteria.beforeOn) {
            criteria.before = ParseDateLimit("--before", options.before, true);
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
        criteria.regex = options.regex ? 1 : 0;
        criteria.matchCase = options.matchCase ? 1 : 0;
        const CompiledPattern compiled =
            CompileTextPattern(criteria.text, {options.regex, options.matchCase, options.whole});
        if (compiled.error) {
            throw CliUsageError("TEXT " + criteria.text + ": " + compiled.error->Describe());
        }
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
    PrintingCallback callback(context, options.all);
    SearchWorker(control, callback, criteria);
    if (control.WalkCut()) {
        context.Error(kWalkBudgetSpentText);
        return kExitUsage;
    }
    if (callback.reason() == kSearchPatternTooComplex) {
        context.Error("the search stopped: " + std::string(kPatternTooComplex));
        return kExitUsage;
    }
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
                     "the whole name or string must equal TEXT (with --regex: match it all)");
    search->add_flag("--regex", options->regex,
                     "TEXT is a PCRE2 regular expression, found anywhere in a name or string; an "
                     "invalid one exits 2 naming its position, one too complex for some data "
                     "stops the search and exits 2");
    search->add_flag("--case", options->matchCase,
                     "compare case-sensitively (texts and patterns); without it case is ignored");
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
