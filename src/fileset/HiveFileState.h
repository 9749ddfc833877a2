// How the files of a set fare in the engine: why a named file is not loaded, and what the
// engine passed over in one that is. The file-set description, the file rows, the status bar
// and the command-line tool all say it in these words.
#pragma once

#include <string>
#include <string_view>

#include "fileset/FileSet.h"

namespace hivora {

// Why the file named for `slot` is not loaded (the engine's check of the file, or that it
// could not be read); empty when it is loaded or no file is named.
std::string HiveLoadFailure(const FileSet& set, HiveSlot slot);

// Why a file is no hive the engine loads, without the file's name; empty when it is one.
std::string HiveRefusal(std::string_view path);

// What is wrong with the loaded hive read from `path`: a problem of its base block it was
// loaded despite, and what the engine has passed over so far ("damaged: 2 records passed
// over"); empty when no loaded hive was read from `path` or nothing is wrong.
std::string HiveFileDamage(std::string_view path);

}  // namespace hivora
