// The description of the current file set that the statistics, the export header and the
// file-set dialog show.
#pragma once

#include <ctime>
#include <functional>
#include <string>
#include <string_view>

#include "fileset/FileSet.h"

namespace hivora {

// How DATE is written: FormatLocalTimeT (the form exports keep) unless a dialog shows dates
// in the user's locale.
using DescribeDate = std::function<std::string(std::time_t)>;

// "SYSTEM:\r\n    <entry>\r\nSOFTWARE:\r\n..." over the eight slots, in description order.
std::string DescribeFileSet(const FileSet& set, const DescribeDate& date = {});
std::string DescribeFileSet();  // of CurrentFileSet()

// Four blanks and "<NOT SELECTED>", or four blanks, the name and, when the file's status can be
// read, "\r\n    (N bytes, last modified on DATE)".
std::string DescribeHiveFile(std::string_view name, const DescribeDate& date = {});

}  // namespace hivora
