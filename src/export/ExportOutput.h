// Where an export goes: one growing buffer, written out in large blocks to a file descriptor
// or a stream, or kept whole in memory.
#pragma once

#include <cstddef>
#include <iosfwd>
#include <string>

namespace hivora {

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
    // Writes everything buffered. A failed write raises FileError naming the destination.
    void Flush();
    const std::string& Text() const { return buffer_; }

private:
    static constexpr size_t kFlushBytes = 1 << 20;
    std::string buffer_;
    int fd_ = -1;
    std::ostream* stream_ = nullptr;
    std::string name_;
};

}  // namespace hivora
