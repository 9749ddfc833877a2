// The file-set arguments of the desktop program, the same as the command-line tool's:
// --dir DIR, --user-dir DIR, one option per slot, and further files placed by their name.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "fileset/FileSet.h"

namespace hivora {

struct FileSetArguments {
    // Set when any file-set argument was given.
    std::optional<FileSet> set;
    bool help = false;
    // Non-empty when the arguments are wrong; names the argument and the cause.
    std::string error;
};

FileSetArguments ParseFileSetArguments(const std::vector<std::string>& args);

const char* FileSetUsage();

}  // namespace hivora
