// The description of the current file set that the statistics, the export header and the
// file-set dialog show.
#pragma once

#include <string>
#include <string_view>

#include "fileset/FileSet.h"
#include "hive/LogReplay.h"

namespace hivora {

// "SYSTEM:\r\n    <entry>\r\nSOFTWARE:\r\n..." over the eight slots, in description order;
// a dirty hive's entry ends with its DescribeLogReplay line once loaded, with its
// DescribeLogsOnDisk line before.
std::string DescribeFileSet(const FileSet& set);
std::string DescribeFileSet();  // of CurrentFileSet()

// The transaction-log state of a dirty hive, for its description: four blanks and "dirty, logs
// applied: ..." or "dirty, logs not applied: <why>". Empty for a clean hive, so that clean
// hives are described as they always were.
std::string DescribeLogReplay(const LogReplayReport& replay);

// For a hive file not loaded yet: four blanks and "dirty; logs found: <names>" or "dirty; no
// logs found" when the file is a dirty hive; empty otherwise.
std::string DescribeLogsOnDisk(const std::string& name);

// True when some hive of the loaded set was brought up to date from its transaction logs.
bool SomeHiveReplayedFromLogs();

// Four blanks and "<NOT SELECTED>", or four blanks, the name and, when the file's status can be
// read, "\r\n    (N bytes, last modified on DATE)".
std::string DescribeHiveFile(std::string_view name);

}  // namespace hivora
