// hivora-cli: the viewer's features for scripts and terminals.
#include <CLI/CLI.hpp>
#include <iostream>

#include "cli/CliCommands.h"
#include "cli/DeletedCommand.h"
#include "cli/RecoveredImageCommand.h"
#include "cli/ExportCommands.h"

namespace {

// One usage line per command, built from what the command groups registered, so that --help
// shows every command's arguments whoever added it.
std::string CommandSynopsis(const CLI::App& app) {
    std::string text = "Commands and their arguments:\n";
    for (const CLI::App* command : app.get_subcommands({})) {
        std::string line = "  " + command->get_name();
        for (const CLI::Option* option : command->get_options()) {
            if (option == command->get_help_ptr() || option == command->get_help_all_ptr()) {
                continue;
            }
            std::string item;
            if (option->get_positional()) {
                item = option->get_name();
            } else {
                item = option->get_name(false, true);
                if (option->get_expected_min() > 0) {
                    item += " " + option->get_type_name();
                }
            }
            line += option->get_required() ? " " + item : " [" + item + "]";
        }
        text += line + "\n";
    }
    return text;
}

}  // namespace

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    hivora::CliContext context(std::cout, std::cerr);

    CLI::App app("Reads Windows registry hive files and prints keys, values and search hits.",
                 "hivora-cli");
    const std::string footer(
        "PATH is the plain key path form, e.g. HKEY_LOCAL_MACHINE\\software\\Microsoft\n"
        "(the root name ignoring case). Exit status: 0 success, 1 nothing found (no such key\n"
        "or value, no hit), 2 usage or file-set error. Errors go to stderr, one line each.\n"
        "A file that is not a hive is reported and its slot stays empty; the other files\n"
        "still load, and the exit status is 2. COMMAND --help describes a command.");
    app.require_subcommand(1, 1);
    app.set_help_all_flag("--help-all", "describe every command with its arguments");

    hivora::AddFileSetOptions(app, context.fileSetOptions);
    app.add_flag("--json", context.json,
                 "print rows as JSON Lines, one object a row with named fields (ls, values, "
                 "search, timeline, deleted, resolve); stats and describe as one object");
    hivora::AddBrowseCommands(app, context);
    hivora::AddSearchCommands(app, context);
    hivora::AddTimelineCommand(app, context);
    hivora::AddExportCommands(app, context);
    hivora::AddDeletedCommand(app, context);
    hivora::AddRecoveredImageCommand(app, context);
    // Set after the commands exist, so that their own help does not repeat it.
    app.footer(CommandSynopsis(app) + "\n" + footer);

    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForAllHelp& e) {
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        // One line naming the argument and the cause; --help for the rest.
        const std::vector<std::string> unexpected = app.remaining();
        if (!unexpected.empty()) {
            context.Error(unexpected.front() + ": unknown option or argument (see --help)");
        } else if (app.get_subcommands().empty()) {
            std::string names;
            for (const CLI::App* command : app.get_subcommands({})) {
                names += (names.empty() ? "" : ", ") + command->get_name();
            }
            context.Error("no COMMAND given (" + names + "; see --help)");
        } else {
            context.Error(e.what());
        }
        return hivora::kExitUsage;
    }
    std::cout.flush();
    return context.exitCode;
}
