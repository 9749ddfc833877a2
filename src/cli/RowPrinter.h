// How every row-printing command writes its rows: tab-separated cells, one row a line, or with
// --json one JSON object a line whose keys are the column names (text as UTF-8; binary data is
// already hex in its cell). Commands hand over cells and never format a row themselves.
#pragma once

#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "search/ResultWriter.h"

namespace hivora {

// `blankBreaks`: tabs and line breaks inside a cell become blanks in the text form, for
// cells that may hold them (names of recovered records).
std::unique_ptr<ResultWriter> MakeRowPrinter(std::ostream& out, bool json,
                                             std::vector<std::string> columns,
                                             bool blankBreaks = false);

}  // namespace hivora
