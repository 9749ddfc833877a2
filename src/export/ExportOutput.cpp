#include "export/ExportOutput.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ostream>

#include "support/MyException.h"

namespace hivora {

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

}  // namespace hivora
