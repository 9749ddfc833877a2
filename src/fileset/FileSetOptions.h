// The file-set options both programs take (hivora and hivora-cli): --dir, --user-dir, one option
// per slot and further FILE arguments placed by their names. Registered on a CLI11 app, so an
// option is one row of the table in FileSetOptions.cpp.
#pragma once

#include <array>
#include <stdexcept>
#include <string>
#include <vector>

#include "fileset/FileSet.h"

namespace CLI {
class App;
}

namespace hivora {

struct FileSetOptions {
    std::string dir;
    std::string userDir;
    std::array<std::string, kHiveSlotCount> slotFiles;  // --system, --ntuser, ... by slot
    std::vector<std::string> files;                     // placed by their names
    bool noLogs = false;                                // --no-logs: leave transaction logs alone

    // True when any file-set option or FILE argument was given.
    bool Given() const;
};

// A file-set option that names no usable folder or file; the message names the option (or the
// file) and the cause.
class FileSetOptionError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Adds the options and the FILE... arguments to `app`, in the "File set" group.
void AddFileSetOptions(CLI::App& app, FileSetOptions& options);

// The set the options name, with absolute file names. The folders fill slots first, FILE
// arguments then take the slots their names fit, and a slot option has the last word. Throws
// FileSetOptionError; an empty set when nothing was given.
FileSet BuildFileSet(const FileSetOptions& options);

}  // namespace hivora
