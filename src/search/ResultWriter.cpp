#include "search/ResultWriter.h"

#include <nlohmann/json.hpp>

namespace hivora {
namespace {

class CsvWriter : public ResultWriter {
public:
    CsvWriter(std::ostream& out, std::vector<std::string> columns)
        : out_(out), columnCount_(columns.size()) {
        WriteRecord(columns);
    }

    void WriteRow(std::span<const std::string> cells) override { WriteRecord(cells); }

private:
    void WriteRecord(std::span<const std::string> cells) {
        record_.clear();
        for (size_t column = 0; column < columnCount_; ++column) {
            if (column > 0) {
                record_ += ',';
            }
            if (column < cells.size()) {
                AppendField(cells[column]);
            }
        }
        record_ += "\r\n";
        out_ << record_;
    }

    void AppendField(const std::string& cell) {
        if (cell.find_first_of(",\"\r\n") == std::string::npos) {
            record_ += cell;
            return;
        }
        record_ += '"';
        for (const char c : cell) {
            if (c == '"') {
                record_ += '"';
            }
            record_ += c;
        }
        record_ += '"';
    }

    std::ostream& out_;
    const size_t columnCount_;
    std::string record_;
};

class JsonLinesWriter : public ResultWriter {
public:
    JsonLinesWriter(std::ostream& out, std::vector<std::string> columns)
        : out_(out), columns_(std::move(columns)) {}

    void WriteRow(std::span<const std::string> cells) override {
        nlohmann::ordered_json row = nlohmann::ordered_json::object();
        for (size_t column = 0; column < columns_.size(); ++column) {
            row[columns_[column]] = column < cells.size() ? cells[column] : std::string();
        }
        out_ << row.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace)
             << '\n';
    }

private:
    std::ostream& out_;
    const std::vector<std::string> columns_;
};

}  // namespace

std::unique_ptr<ResultWriter> MakeResultWriter(ResultFormat format, std::ostream& out,
                                               std::vector<std::string> columns) {
    if (format == ResultFormat::Csv) {
        return std::make_unique<CsvWriter>(out, std::move(columns));
    }
    return std::make_unique<JsonLinesWriter>(out, std::move(columns));
}

}  // namespace hivora
