// The checks a file set passes before it is accepted, the last accepted set in the settings,
// and the two folder scans with their questions.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "fileset/FileSet.h"
#include "support/UserPrompt.h"
#include "support/Settings.h"

namespace hivora {

// The file name with its extension, and without it.
std::string PathFileName(std::string_view path);
std::string PathFileTitle(std::string_view path);
// True when the path names an existing file or folder.
bool FileExists(const std::string& path);

// True when the file part of `path`, trailing dots removed, is one of the slot's accepted
// names (ignoring case). Slots without accepted names (Default, Components, Bcd) never match.
bool IsStandardFileName(HiveSlot slot, std::string_view path);

// Returns when `path` is empty or opens for reading; otherwise raises FileError with
// "Unable to open <path>: <reason>".
void ProbeFileSharing(const std::string& path, bool withNote);

// The names of the Choose Registry Files dialog, in slot order. True when they may be
// accepted; false when the user answered No to a name question; raises on a failed check.
bool ValidateChosenFiles(const std::array<std::string, kHiveSlotCount>& names, UserPrompt& prompt);

// Continue of the file-set dialog: switches to the hive engine, probes the chosen files,
// reports problems, and on success saves the set as the last one. True when the dialog may
// close with OK.
bool ConfirmFileSet(const FileSet& set, UserPrompt& prompt, SettingsStore& settings);

void SaveLastFileSet(const FileSet& set, SettingsStore& settings);
bool HasLastFileSet(const SettingsStore& settings);
void RestoreLastFileSet(FileSet& set, const SettingsStore& settings);
void ClearFileSet(FileSet& set);

// Ask for a folder and fill slots from it. Cancel changes nothing; a folder without suitable
// files raises.
void ScanHiveFolder(FileSet& set, FolderPicker& picker);
void ScanUserFolder(FileSet& set, FolderPicker& picker);

}  // namespace hivora
