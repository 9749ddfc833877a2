// timeline: every key with its last-write time, newest first.
#include <CLI/CLI.hpp>
#include <memory>

#include "cli/CliCommands.h"
#include "cli/RowPrinter.h"
#include "keys/RegistryWalker.h"
#include "search/KeyTimeline.h"
#include "support/FileTimeFormat.h"

namespace hivora {
namespace {

struct TimelineOptions {
    std::string after;
    std::string before;
    CLI::Option* afterOption = nullptr;
    CLI::Option* beforeOption = nullptr;
};

int PrintTimeline(CliContext& context, const TimelineOptions& options) {
    TimelineLimits limits;
    if (options.afterOption->count() > 0) {
        limits.after = ParseDateLimit("--after", options.after, false);
    }
    if (options.beforeOption->count() > 0) {
        limits.before = ParseDateLimit("--before", options.before, true);
    }
    const KeyTimeline timeline = BuildKeyTimeline(limits);
    const std::unique_ptr<ResultWriter> rows =
        MakeRowPrinter(context.out, context.json, {"lastWrite", "path"});
    std::string cells[2];
    for (const TimelineEntry& entry : timeline.entries) {
        cells[0] = FormatUtcTimestamp(entry.lastWrite);
        cells[1] = entry.path;
        rows->WriteRow(cells);
    }
    if (timeline.walkCut) {
        context.Error(kWalkBudgetSpentText);
        return kExitUsage;
    }
    return timeline.entries.empty() ? kExitNotFound : kExitOk;
}

}  // namespace

void AddTimelineCommand(CLI::App& app, CliContext& context) {
    auto options = std::make_shared<TimelineOptions>();
    CLI::App* timeline = app.add_subcommand(
        "timeline",
        "every key with its last-write time, one a line: YYYY-MM-DDTHH:MM:SS.fffffffZ<TAB>PATH "
        "(UTC), newest first; keys with equal times in the order of the walk through "
        "HKEY_LOCAL_MACHINE, then HKEY_USERS. --after/--before T (inclusive) read T as search "
        "does; exit 1 when no key is in range");
    options->afterOption =
        timeline->add_option("--after", options->after, "only keys last written at or after T")
            ->type_name("T");
    options->beforeOption =
        timeline->add_option("--before", options->before, "only keys last written at or before T")
            ->type_name("T");
    timeline->callback(
        context.Command([&context, options] { return PrintTimeline(context, *options); }));
}

}  // namespace hivora
