// The REG and text formats. Their blocks are appended by hand to the output buffer: this is
// the export's hot path (bench/README.md has the numbers).
#include <charconv>

#include "export/ExportWriter.h"
#include "support/FileTimeFormat.h"
#include "support/Version.h"
#include "values/ValueFormat.h"

namespace hivora {
namespace {

// "; *** <version> <address>", the date and the file-set description, each line a comment.
void AppendCommentHeader(std::string_view fileSet, std::time_t exportedAt, std::string& out) {
    std::string header = "; *** " + GetVersionText(2) + " " + kProductPageAddress +
                         "\n\n; Exported on " + FormatLocalTimeT(exportedAt) + "\n\n; ";
    for (char c : fileSet) {
        if (c == '\r') {
            continue;
        }
        header.push_back(c);
        if (c == '\n') {
            header.append("; ");
        }
    }
    header.push_back('\n');
    AppendWithCrLf(header, out);
}

// What both formats share: the output, and a blank line after each key's block.
class BufferedWriter : public ExportWriter {
public:
    explicit BufferedWriter(ExportOutput& out) : out_(out) {}

    void EndKey() override {
        out_.Buffer().append("\r\n");
        out_.Commit();
    }

protected:
    ExportOutput& out_;
};

class RegWriter : public BufferedWriter {
public:
    using BufferedWriter::BufferedWriter;

    void WriteHeader(std::string_view fileSet, std::time_t exportedAt) override {
        out_.Buffer().append("REGEDIT4\r\n\r\n");
        AppendCommentHeader(fileSet, exportedAt, out_.Buffer());
    }

    void BeginKey(std::string_view path, FileTime) override {
        std::string& out = out_.Buffer();
        out.append("\r\n[");
        AppendWithCrLf(path, out);
        out.append("]\r\n");
    }

    void WriteValue(uint32_t, std::u16string_view name, uint32_t type, const uint8_t* data,
                    size_t size) override {
        std::string& out = out_.Buffer();
        if (name.empty()) {
            out.push_back('@');
        } else {
            out.push_back('"');
            AppendRegEscaped(name, out);
            out.push_back('"');
        }
        out.push_back('=');
        FormatExportData(type, data, size, ExportStyle::Reg, out);
        out.append("\r\n");
        out_.Commit();
    }
};

class TextWriter : public BufferedWriter {
public:
    using BufferedWriter::BufferedWriter;

    void WriteHeader(std::string_view fileSet, std::time_t exportedAt) override {
        AppendCommentHeader(fileSet, exportedAt, out_.Buffer());
    }

    void BeginKey(std::string_view path, FileTime lastWrite) override {
        std::string& out = out_.Buffer();
        out.append("\r\nKey Name:        ");
        AppendWithCrLf(path, out);
        out.append("\r\n");
        if (lastWrite != 0) {
            const std::string date = FormatLocalDateTime(lastWrite);
            if (!date.empty()) {
                out.append("Last Write Time: ");
                out.append(date);
                out.append("\r\n");
            }
        }
    }

    void WriteValue(uint32_t index, std::u16string_view name, uint32_t type, const uint8_t* data,
                    size_t size) override {
        std::string& out = out_.Buffer();
        char digits[16];
        out.append("Value ");
        out.append(digits, std::to_chars(digits, digits + sizeof digits, index).ptr);
        out.append("\r\n  Name:  ");
        if (name.empty()) {
            out.append("<NO NAME>");
        } else {
            AppendExportText(name, out);
        }
        out.append("\r\n  Type:  ");
        out.append(GetValueTypeName(type));
        out.append("\r\n  Data:  ");
        FormatExportData(type, data, size, ExportStyle::Text, out);
        out.append("\r\n\r\n");
        out_.Commit();
    }
};

}  // namespace

std::unique_ptr<ExportWriter> MakeExportWriter(ExportStyle style, ExportOutput& out) {
    if (style == ExportStyle::Reg) {
        return std::make_unique<RegWriter>(out);
    }
    return std::make_unique<TextWriter>(out);
}

}  // namespace hivora
