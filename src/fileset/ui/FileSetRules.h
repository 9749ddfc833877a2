// The file-set rules the two file-set dialogs and the command line apply: name checks,
// validation of the chosen files, Continue's probes, the last set, the folder scans, the
// description of the set and the input history of the file fields.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "fileset/FileSet.h"
#include "support/Settings.h"
#include "support/ui/Prompter.h"

namespace hivora::ui {

// True when the file part of `path`, less trailing dots, is an accepted name of `slot`.
bool IsStandardFileName(HiveSlot slot, std::string_view path);

// Opens `path` for reading; throws FileError "Unable to open <path>: <reason>" when it can't.
// An empty path passes.
void ProbeFile(const std::string& path);

// The checks of the Choose Registry Files dialog's OK; throws on a failed check, false when
// the user declined a name question.
bool ValidateChosenFiles(const FileSet& names, Prompter& prompter);

// Continue: switches to the hive engine, probes every chosen file, reports, saves the set as
// the last one. True when the master dialog may close with OK.
bool ConfirmFileSet(Prompter& prompter, SettingsStore& settings);

void SaveLastFileSet(const FileSet& set, SettingsStore& settings);
bool HasLastFileSet(const SettingsStore& settings);
void RestoreLastFileSet(FileSet& set, const SettingsStore& settings);
void ClearFileSet(FileSet& set);

// Asks for a folder with `pickFolder` (empty answer: cancelled, nothing changes) and fills
// the set from it; throws when the folder holds nothing suitable.
using FolderPicker = std::function<std::string(const std::string& title)>;
void ScanHiveFolder(FileSet& set, const FolderPicker& pickFolder);
void ScanUserFolder(FileSet& set, const FolderPicker& pickFolder);

// One block per slot (SYSTEM, SOFTWARE, SECURITY, SAM, BCD, COMPONENTS, DEFAULT, USER): the
// file with its size and modification time, or "<NOT SELECTED>".
std::string DescribeFileSet(const FileSet& set);
std::string FormatThousands(long long value, char separator);

// The input history of one file field in section "SVCOMBOS": entry prefix000 is the last
// accepted text, the others the names of the field's list.
struct ComboHistory {
    std::string text;
    std::vector<std::string> items;  // sorted, case-insensitively
};
ComboHistory LoadComboHistory(const SettingsStore& settings, std::string_view prefix);
void SaveComboHistory(SettingsStore& settings, std::string_view prefix, const std::string& text,
                      const std::vector<std::string>& items);
// Case-insensitive order of the field lists (ASCII and Latin-1 folded).
bool HistoryLess(const std::string& a, const std::string& b);
bool HistoryEqual(const std::string& a, const std::string& b);

}  // namespace hivora::ui
