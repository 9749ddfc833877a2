// The short name of a file set that window captions show.
#pragma once

#include <string>

#include "fileset/FileSet.h"

namespace hivora {

// The folder that holds every file of the set; when the files lie in several folders, the
// SYSTEM and user hive files ("/c/config/SYSTEM, /c/Users/x/NTUSER.DAT"), and without those
// the first file in list order. Empty for an empty set.
std::string FileSetTitle(const FileSet& set);

}  // namespace hivora
