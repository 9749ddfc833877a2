// The frame every hivora-cli command group plugs into: the context a command runs in (the file
// set given on the command line, the output streams, the exit status) and one registration
// function per group. A group adds its subcommands to the app and wraps each body with
// CliContext::Command, which loads the file set first and turns failures into one stderr line
// and an exit status.
#pragma once

#include <array>
#include <functional>
#include <iosfwd>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "fileset/FileSet.h"
#include "fileset/FileSetOptions.h"
#include "hive/RegistryTypes.h"

namespace CLI {
class App;
}

namespace hivora {

// Exit statuses of every command.
inline constexpr int kExitOk = 0;
inline constexpr int kExitNotFound = 1;  // no such key or value, no hit
inline constexpr int kExitUsage = 2;     // bad arguments or an unusable file set

// Thrown by a command body for a bad argument or an unusable input: the message (one line that
// names the argument or file and the cause) goes to stderr and the exit status is 2.
class CliUsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Thrown by a command body when what it was asked for does not exist: the message goes to
// stderr (when not empty) and the exit status is 1.
class CliNotFound : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A key address as the commands take it: "HKEY_LOCAL_MACHINE\software\Microsoft".
struct CliKeyPath {
    RootKey root = kLocalMachine;
    std::string rootName;  // as the tree shows it: HKEY_LOCAL_MACHINE or HKEY_USERS
    std::string subPath;   // without leading or trailing backslashes
};

// Parses the plain path form. The root name is matched ignoring case; only the two roots of the
// key tree are accepted. Trailing backslashes are dropped; an empty component is refused.
std::optional<CliKeyPath> ParseCliKeyPath(std::string_view text);

struct CliContext {
    CliContext(std::ostream& outStream, std::ostream& errStream) : out(outStream), err(errStream) {}

    std::ostream& out;
    std::ostream& err;

    // The file-set options as given; filled by AddFileSetOptions and CLI11's parse.
    FileSetOptions fileSetOptions;
    // --json: row commands print JSON Lines (RowPrinter).
    bool json = false;

    // The set that was loaded (also CurrentFileSet()), and whether a file of it failed.
    FileSet fileSet;
    bool fileSetFailed = false;
    int exitCode = kExitOk;

    // Writes "hivora-cli: <message>" to err.
    void Error(std::string_view message) const;

    // Builds the file set from the options, loads it into the hive engine and reports every
    // file that did not load. Throws CliUsageError when the options name no usable file at all.
    void LoadFiles();

    // Wraps a command body for CLI::App::callback: loads the file set, runs the body and maps
    // its result and exceptions to exitCode. A file of the set that failed to load makes the
    // status 2 even when the command itself succeeded on the other files.
    std::function<void()> Command(std::function<int()> body);

    // Parses a key given in the plain path form and checks that the key exists; throws
    // CliUsageError for a malformed path and CliNotFound for a key that does not exist.
    CliKeyPath RequireKeyPath(std::string_view text) const;
};

// YYYY-MM-DD or YYYY-MM-DDTHH:MM:SS as a clock reading stored in a FILETIME without any
// time-zone adjustment, as the Find By Date dialog stores its limits. A date alone is the
// start of that day for a lower limit and its last second for an upper one. Throws
// CliUsageError naming `option` for any other text.
FileTime ParseDateLimit(std::string_view option, std::string_view text, bool upper);

// ls, values, show, resolve.
void AddBrowseCommands(CLI::App& app, CliContext& context);
// search, timeline.
void AddSearchCommands(CLI::App& app, CliContext& context);
void AddTimelineCommand(CLI::App& app, CliContext& context);

}  // namespace hivora
