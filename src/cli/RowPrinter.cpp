#include "cli/RowPrinter.h"

namespace hivora {
namespace {

class TabRowPrinter : public ResultWriter {
public:
    TabRowPrinter(std::ostream& out, size_t columns, bool blankBreaks)
        : out_(out), columns_(columns), blankBreaks_(blankBreaks) {}

    void WriteRow(std::span<const std::string> cells) override {
        line_.clear();
        for (size_t column = 0; column < columns_; ++column) {
            if (column > 0) {
                line_.push_back('\t');
            }
            if (column >= cells.size()) {
                continue;
            }
            if (!blankBreaks_) {
                line_ += cells[column];
                continue;
            }
            for (const char c : cells[column]) {
                line_.push_back(c == '\t' || c == '\n' || c == '\r' ? ' ' : c);
            }
        }
        line_.push_back('\n');
        out_ << line_;
    }

private:
    std::ostream& out_;
    const size_t columns_;
    const bool blankBreaks_;
    std::string line_;
};

}  // namespace

std::unique_ptr<ResultWriter> MakeRowPrinter(std::ostream& out, bool json,
                                             std::vector<std::string> columns, bool blankBreaks) {
    if (json) {
        return MakeResultWriter(ResultFormat::JsonLines, out, std::move(columns));
    }
    return std::make_unique<TabRowPrinter>(out, columns.size(), blankBreaks);
}

}  // namespace hivora
