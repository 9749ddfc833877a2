// hivora-cli: the viewer's features for scripts and terminals.
#include <CLI/CLI.hpp>
#include <iostream>

#include "cli/CliCommands.h"
#include "cli/ExportCommands.h"

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    hivora::CliContext context(std::cout, std::cerr);

    CLI::App app("Reads Windows registry hive files and prints keys, values and search hits.",
                 "hivora-cli");
    app.footer(
        "PATH is the plain key path form, e.g. HKEY_LOCAL_MACHINE\\software\\Microsoft (the root\n"
        "name ignoring case). Exit status: 0 success, 1 nothing found (no such key or value, no\n"
        "hit), 2 usage or file-set error. Errors go to stderr, one line each. A file that is not "
        "a\n"
        "hive is reported and its slot stays empty; the other files still load (exit status 2).\n"
        "COMMAND --help describes each command's arguments.");
    app.require_subcommand(1, 1);
    app.set_help_all_flag("--help-all", "describe every command with its arguments");

    hivora::AddFileSetOptions(app, context);
    hivora::AddBrowseCommands(app, context);
    hivora::AddSearchCommands(app, context);
    hivora::AddExportCommands(app, context);

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
