// The REG and text exports: the walk that writes one key's block and then its subkeys', the
// comment header, and the export command without its dialogs.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>

#include "export/ExportFormat.h"
#include "export/RegistryCounters.h"
#include "hive/RegistryTypes.h"

namespace hivora {

// Where an export goes: one growing buffer, written out in large blocks to a file descriptor,
// or kept whole in memory.
class ExportOutput {
public:
    ExportOutput();  // in memory; Text() holds everything
    // Writes to `fd` (not owned); `name` names the destination in error messages.
    ExportOutput(int fd, std::string name);
    // Writes to `stream` (not owned).
    ExportOutput(std::ostream& stream, std::string name);
    ExportOutput(const ExportOutput&) = delete;
    ExportOutput& operator=(const ExportOutput&) = delete;

    std::string& Buffer() { return buffer_; }
    // Called between blocks: writes the buffer out once it is large.
    void Commit() {
        if ((fd_ >= 0 || stream_ != nullptr) && buffer_.size() >= kFlushBytes) {
            Flush();
        }
    }
    // Writes everything buffered. A failed write raises FileError.
    void Flush();
    const std::string& Text() const { return buffer_; }

private:
    static constexpr size_t kFlushBytes = 1 << 20;
    std::string buffer_;
    int fd_ = -1;
    std::ostream* stream_ = nullptr;
    std::string name_;
};

// The block of `key` (heading, values, closing empty line), then the blocks of its subkeys,
// depth first; `path` names the key in the headings. `lastWrite` 0 writes no date.
void ExportKeyTree(ExportStyle style, ExportOutput& out, HKEY key, std::string_view path,
                   FileTime lastWrite, RegistryCounters& counters);

// "REGEDIT4" (REG style) and the comment header with the file-set description.
void WriteExportHeader(ExportStyle style, ExportOutput& out);

// A whole export: header, then everything below HKEY_LOCAL_MACHINE and HKEY_USERS when
// `branch` is empty, else the branch it names. Counters are reset first. Raises "Invalid
// operation" for a branch under no exported root and "Unable to open the key" for a branch
// that names no key; what was written before stays in `out`.
void WriteRegistryExport(ExportStyle style, std::string_view branch, ExportOutput& out,
                         RegistryCounters& counters);

// The export command once a file is chosen: writes `fileName`, fills Counters(), and returns
// the milliseconds taken. Raises "Unable to create output file" when the file can't be made.
uint64_t ExportRegistry(ExportStyle style, std::string_view branch, const std::string& fileName);

// "Export completed, N milliseconds taken.\r\n" and the counter report.
std::string FormatExportCompletion(uint64_t milliseconds, const RegistryCounters& counters);

}  // namespace hivora
