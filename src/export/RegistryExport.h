// The REG and text exports: the walk that hands every key and value to the format's writer,
// and the export command without its dialogs.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "export/ExportFormat.h"
#include "export/ExportOutput.h"
#include "export/RegistryCounters.h"
#include "hive/RegistryTypes.h"

namespace hivora {

class ExportWriter;
class RegistryWalker;

// The block of `key` (heading, values, closing empty line), then the blocks of its subkeys,
// depth first; `path` names the key in the headings. `lastWrite` 0 writes no date. Returns
// false when the walk ran out of budget (the counters say so too).
bool ExportKeyTree(RegistryWalker& walker, ExportWriter& writer, HKEY key, std::string_view path,
                   FileTime lastWrite, RegistryCounters& counters);
// The same with a walker of its own and the writer of `style`.
bool ExportKeyTree(ExportStyle style, ExportOutput& out, HKEY key, std::string_view path,
                   FileTime lastWrite, RegistryCounters& counters);

// A whole export: header, then everything below HKEY_LOCAL_MACHINE and HKEY_USERS when
// `branch` is empty, else the branch it names. Counters are reset first. Raises "Invalid
// operation" for a branch under no exported root and "Unable to open the key" for a branch
// that names no key; what was written before stays in `out`.
void WriteRegistryExport(ExportStyle style, std::string_view branch, ExportOutput& out,
                         RegistryCounters& counters);

// The export command once a file is chosen: writes `fileName`, fills Counters(), and returns
// the milliseconds taken. Raises "Unable to create output file" when the file can't be made,
// and FileError naming the file when a write fails; then nothing is left under that name (a
// file that stood there before is kept). After "Invalid operation" and "Unable to open the
// key" the file holds the header.
uint64_t ExportRegistry(ExportStyle style, std::string_view branch, const std::string& fileName);

// "Export completed, N milliseconds taken.\r\n" and the counter report.
std::string FormatExportCompletion(uint64_t milliseconds, const RegistryCounters& counters);

}  // namespace hivora
