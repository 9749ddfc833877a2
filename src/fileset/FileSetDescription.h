// The description of the current file set that the statistics, the export header and the
// file-set dialog show.
#pragma once

#include <string>
#include <string_view>

#include "fileset/FileSet.h"

namespace hivora {

// "SYSTEM:\r\n    <entry>\r\nSOFTWARE:\r\n..." over the eight slots, in description order.
std::string DescribeFileSet(const FileSet& set);
std::string DescribeFileSet();  // of CurrentFileSet()

// Four blanks and "<NOT SELECTED>", or four blanks, the name and, when the file's status can be
// read, "\r\n    (N bytes, last modified on DATE)".
std::string DescribeHiveFile(std::string_view name);

}  // namespace hivora
