// Saves rows of text cells (the search's hits, a timeline) as CSV or JSON Lines. The columns
// are named once; every row then gives one cell per column, in the same order.
#pragma once

#include <memory>
#include <ostream>
#include <span>
#include <string>
#include <vector>

namespace hivora {

enum class ResultFormat {
    // RFC 4180: a header record of the column names, then one record per row, every record
    // ending in CR LF; a cell holding a comma, a quote, CR or LF is quoted, its quotes doubled.
    Csv,
    // One JSON object per row and line ("\n"), the column names as its keys in column order.
    // Malformed UTF-8 in a cell (a damaged name) is written as U+FFFD.
    JsonLines,
};

class ResultWriter {
public:
    virtual ~ResultWriter() = default;
    // Cells past the columns are dropped; missing ones are written empty.
    virtual void WriteRow(std::span<const std::string> cells) = 0;
};

// CSV writes its header at once. `out` must outlive the writer.
std::unique_ptr<ResultWriter> MakeResultWriter(ResultFormat format, std::ostream& out,
                                               std::vector<std::string> columns);

}  // namespace hivora
