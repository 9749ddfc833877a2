// The description of the current file set that the statistics, the export header and the
// file-set dialog show.
#pragma once

#include <ctime>
#include <functional>
#include <string>
#include <string_view>

#include "fileset/FileSet.h"
#include "hive/LogReplay.h"

namespace hivora {

// How DATE is written: FormatLocalTimeT (the form exports keep) unless a dialog shows dates
// in the user's locale.
using DescribeDate = std::function<std::string(std::time_t)>;

// "SYSTEM:\r\n    <entry>\r\nSOFTWARE:\r\n..." over the eight slots, in description order;
// a dirty hive's entry ends with its DescribeLogReplay line once loaded, with its
// DescribeLogsOnDisk line before.
// `fileState` adds the lines that say how each file fares in the engine (the dialogs); exports
// and the command-line tool go without them, so that their text depends on the files alone.
std::string DescribeFileSet(const FileSet& set, const DescribeDate& date = {},
                            bool fileState = false);
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
// read, "\r\n    (N bytes, last modified on DATE)"; with `fileState`, then a line that says why
// the file is no hive ("(not loaded: REASON)") or what is wrong with it as loaded
// ("(damaged: ...)").
std::string DescribeHiveFile(std::string_view name, const DescribeDate& date = {},
                             bool fileState = false);

}  // namespace hivora
