// The formats of an export, behind one interface: the export walk hands each key and value to
// a writer and knows no format; a writer formats what it is given and knows no walk.
#pragma once

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <memory>
#include <string_view>

#include "export/ExportFormat.h"
#include "export/ExportOutput.h"
#include "hive/RegistryTypes.h"

namespace hivora {

class ExportWriter {
public:
    virtual ~ExportWriter() = default;
    // The file's opening lines: `fileSet` is the file-set description (CR LF lines).
    virtual void WriteHeader(std::string_view fileSet, std::time_t exportedAt) = 0;
    // One key's block: its heading, its values in order, its end. `lastWrite` 0 writes no date.
    virtual void BeginKey(std::string_view path, FileTime lastWrite) = 0;
    // Value number `index` of the key; an empty name is the key's default value.
    virtual void WriteValue(uint32_t index, std::u16string_view name, uint32_t type,
                            const uint8_t* data, size_t size) = 0;
    virtual void EndKey() = 0;
};

// The REGEDIT4 writer and the readable text writer, into `out`.
std::unique_ptr<ExportWriter> MakeExportWriter(ExportStyle style, ExportOutput& out);

}  // namespace hivora
