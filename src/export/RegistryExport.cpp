#include "export/RegistryExport.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <ostream>
#include <vector>

#include "export/FileSetDescription.h"
#include "hive/RegistryBackend.h"
#include "hive/WalkGuard.h"
#include "support/FileTimeFormat.h"
#include "support/MyException.h"
#include "support/TextConvert.h"
#include "support/Version.h"
#include "values/ValueFormat.h"

namespace hivora {
namespace {

// Room for the longest name a hive can hold and its terminator: names are never cut.
constexpr uint32_t kNameChars = 32768;
constexpr size_t kInitialDataBytes = 65536;

void AppendDecimal(uint64_t value, std::string& out) {
    char digits[24];
    int n = 0;
    do {
        digits[n++] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value != 0);
    while (n > 0) {
        out.push_back(digits[--n]);
    }
}

class ExportWalk {
public:
    ExportWalk(ExportStyle style, ExportOutput& out, RegistryCounters& counters)
        : style_(style),
          out_(out),
          counters_(counters),
          backend_(Backend()),
          name_(kNameChars),
          data_(kInitialDataBytes) {}

    void Run(HKEY key, std::string_view path, FileTime lastWrite) {
        path_.assign(path);
        Walk(key, lastWrite, 0);
    }

private:
    void Walk(HKEY key, FileTime lastWrite, int depth) {
        const WalkGuard::Visit visit = guard_.Enter(key, depth);
        if (!visit.enter) {
            return;  // met before on this walk, or deeper than any real registry
        }
        WriteHeading(lastWrite);
        if (visit.values) {
            WriteValues(key);
        }
        out_.Buffer().append("\r\n");
        out_.Commit();
        if (visit.subkeys) {
            WriteSubkeys(key, depth);
        }
    }

    void WriteHeading(FileTime lastWrite) {
        std::string& out = out_.Buffer();
        if (style_ == ExportStyle::Reg) {
            out.append("\r\n[");
            AppendWithCrLf(path_, out);
            out.append("]\r\n");
            return;
        }
        out.append("\r\nKey Name:        ");
        AppendWithCrLf(path_, out);
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

    void WriteValues(HKEY key) {
        std::string& out = out_.Buffer();
        uint32_t index = 0;
        for (;; ++index) {
            uint32_t type = 0;
            uint32_t size = 0;
            int32_t status =
                backend_.enumValue(key, index, nullptr, nullptr, nullptr, &type, nullptr, &size);
            if (status != ERROR_SUCCESS && status != ERROR_MORE_DATA) {
                break;
            }
            counters_.totalDataBytes += size;
            counters_.largestData = std::max<uint64_t>(counters_.largestData, size);
            if (size > data_.size()) {
                data_.resize(size);
            }
            uint32_t nameLength = kNameChars;
            name_[0] = 0;
            uint32_t got = size;
            status = backend_.enumValue(key, index, name_.data(), &nameLength, nullptr, &type,
                                        data_.data(), &got);
            if (status != ERROR_SUCCESS) {
                break;
            }
            const std::u16string_view name(name_.data(), name_[0] == 0 ? 0 : nameLength);
            const uint32_t shown = std::min(got, size);
            if (style_ == ExportStyle::Reg) {
                if (name.empty()) {
                    out.push_back('@');
                } else {
                    out.push_back('"');
                    AppendRegEscaped(name, out);
                    out.push_back('"');
                }
                out.push_back('=');
                FormatExportData(type, data_.data(), shown, style_, out);
                out.append("\r\n");
            } else {
                out.append("Value ");
                AppendDecimal(index, out);
                out.append("\r\n  Name:  ");
                if (name.empty()) {
                    out.append("<NO NAME>");
                } else {
                    AppendExportText(name, out);
                }
                out.append("\r\n  Type:  ");
                out.append(GetValueTypeName(type));
                out.append("\r\n  Data:  ");
                FormatExportData(type, data_.data(), shown, style_, out);
                out.append("\r\n\r\n");
            }
            out_.Commit();
        }
        counters_.values += index;
        counters_.mostValues = std::max<uint64_t>(counters_.mostValues, index);
    }

    void WriteSubkeys(HKEY key, int depth) {
        uint32_t index = 0;
        for (;; ++index) {
            uint32_t nameLength = kNameChars;
            FileTime lastWrite = 0;
            HKEY subkey = nullptr;
            const int32_t status = backend_.enumKey(key, index, name_.data(), &nameLength, nullptr,
                                                    nullptr, nullptr, &lastWrite, &subkey);
            if (status != ERROR_SUCCESS) {
                if (subkey != nullptr) {
                    backend_.closeKey(subkey);
                }
                break;
            }
            ++counters_.keys;
            if (subkey == nullptr &&
                (backend_.openKey(key, name_.data(), &subkey) != ERROR_SUCCESS ||
                 subkey == nullptr)) {
                ++counters_.inaccessibleKeys;
                continue;
            }
            const size_t parentLength = path_.size();
            path_.push_back('\\');
            AppendUtf8(std::u16string_view(name_.data(), nameLength), path_);
            Walk(subkey, lastWrite, depth + 1);
            path_.resize(parentLength);
            backend_.closeKey(subkey);
        }
        if (index != 0) {
            counters_.mostSubkeys = std::max<uint64_t>(counters_.mostSubkeys, index);
        }
    }

    ExportStyle style_;
    ExportOutput& out_;
    RegistryCounters& counters_;
    const RegistryBackend& backend_;
    WalkGuard guard_;
    std::vector<char16_t> name_;
    std::vector<uint8_t> data_;  // the value data buffer: grown on demand, never shrunk
    std::string path_;
};

bool StartsWithRoot(std::string_view path, std::string_view root) {
    if (path.size() < root.size()) {
        return false;
    }
    for (size_t i = 0; i < root.size(); ++i) {
        const char a = path[i];
        const char folded = (a >= 'a' && a <= 'z') ? static_cast<char>(a - 32) : a;
        if (folded != root[i]) {
            return false;
        }
    }
    return true;
}

}  // namespace

ExportOutput::ExportOutput() = default;

ExportOutput::ExportOutput(int fd, std::string name) : fd_(fd), name_(std::move(name)) {
    buffer_.reserve(kFlushBytes + (kFlushBytes >> 2));
}

ExportOutput::ExportOutput(std::ostream& stream, std::string name)
    : stream_(&stream), name_(std::move(name)) {
    buffer_.reserve(kFlushBytes + (kFlushBytes >> 2));
}

void ExportOutput::Flush() {
    if (stream_ != nullptr) {
        stream_->write(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
        buffer_.clear();
        if (!*stream_) {
            throw FileError("Unable to write " + name_);
        }
        return;
    }
    if (fd_ < 0) {
        return;
    }
    const char* p = buffer_.data();
    size_t left = buffer_.size();
    while (left != 0) {
        const ssize_t written = ::write(fd_, p, left);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            const int error = errno;
            buffer_.clear();
            throw FileError("Unable to write " + name_ + ": " + std::strerror(error));
        }
        p += written;
        left -= static_cast<size_t>(written);
    }
    buffer_.clear();
}

void ExportKeyTree(ExportStyle style, ExportOutput& out, HKEY key, std::string_view path,
                   FileTime lastWrite, RegistryCounters& counters) {
    ExportWalk(style, out, counters).Run(key, path, lastWrite);
}

void WriteExportHeader(ExportStyle style, ExportOutput& out) {
    std::string description = "; ";
    for (char c : DescribeFileSet()) {
        if (c == '\r') {
            continue;
        }
        description.push_back(c);
        if (c == '\n') {
            description.append("; ");
        }
    }
    std::string header;
    if (style == ExportStyle::Reg) {
        header = "REGEDIT4\n\n";
    }
    header += "; *** " + GetVersionText(2) + " " + kProductPageAddress + "\n\n; Exported on " +
              FormatLocalTimeT(std::time(nullptr)) + "\n\n" + description + "\n";
    AppendWithCrLf(header, out.Buffer());
}

void WriteRegistryExport(ExportStyle style, std::string_view branch, ExportOutput& out,
                         RegistryCounters& counters) {
    WriteExportHeader(style, out);
    counters.Reset();
    if (branch.empty()) {
        ExportKeyTree(style, out, HKEY_LOCAL_MACHINE, "HKEY_LOCAL_MACHINE", 0, counters);
        ExportKeyTree(style, out, HKEY_USERS, "HKEY_USERS", 0, counters);
        return;
    }
    HKEY root = nullptr;
    std::string_view rootName;
    for (auto [handle, name] :
         {std::pair{HKEY_LOCAL_MACHINE, std::string_view("HKEY_LOCAL_MACHINE")},
          std::pair{HKEY_USERS, std::string_view("HKEY_USERS")}}) {
        if (StartsWithRoot(branch, name)) {
            root = handle;
            rootName = name;
            break;
        }
    }
    // The root name must stand whole: HKEY_USERSX\... names no exported root.
    if (root == nullptr || (branch.size() > rootName.size() && branch[rootName.size()] != '\\')) {
        ThrowError("Invalid operation");
    }
    const std::string_view subPath =
        branch.size() > rootName.size() ? branch.substr(rootName.size() + 1) : std::string_view();
    const std::u16string wide = ToUtf16(subPath);
    HKEY key = nullptr;
    if (Backend().openKey(root, wide.c_str(), &key) != ERROR_SUCCESS || key == nullptr) {
        ThrowError("Unable to open the key");
    }
    try {
        ExportKeyTree(style, out, key, branch, 0, counters);
    } catch (...) {
        Backend().closeKey(key);
        throw;
    }
    Backend().closeKey(key);
}

uint64_t ExportRegistry(ExportStyle style, std::string_view branch, const std::string& fileName) {
    const auto start = std::chrono::steady_clock::now();
    const int fd = ::open(fileName.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) {
        ThrowError("Unable to create output file");
    }
    ExportOutput out(fd, fileName);
    try {
        WriteRegistryExport(style, branch, out, Counters());
        out.Flush();
    } catch (...) {
        try {
            out.Flush();  // the file keeps what was written, as the header before a failure
        } catch (const FileError&) {
        }
        ::close(fd);
        throw;
    }
    if (::close(fd) != 0) {
        throw FileError("Unable to write " + fileName + ": " + std::strerror(errno));
    }
    const auto elapsed = std::chrono::steady_clock::now() - start;
    return static_cast<uint64_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count());
}

std::string FormatExportCompletion(uint64_t milliseconds, const RegistryCounters& counters) {
    return "Export completed, " + FormatThousandsUnsigned(milliseconds) +
           " milliseconds taken.\r\n" + FormatCounterReport(counters);
}

}  // namespace hivora
