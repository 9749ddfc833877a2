#include "support/ReplacingFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>

#include <fmt/format.h>

#include "support/MyException.h"

namespace hivora {
namespace {

constexpr int kCreateFlags = O_WRONLY | O_CREAT | O_CLOEXEC;

[[noreturn]] void ThrowWriteError(const std::string& name, int error) {
    throw FileError(fmt::format("Unable to write {}: {}", name, std::strerror(error)));
}

}  // namespace

ReplacingFile::ReplacingFile(std::string finalName) : finalName_(std::move(finalName)) {
    struct stat existing {};
    const bool exists = ::lstat(finalName_.c_str(), &existing) == 0;
    if (exists && !S_ISREG(existing.st_mode)) {
        inPlace_ = true;
        writtenName_ = finalName_;
        fd_ = ::open(finalName_.c_str(), kCreateFlags | O_TRUNC, 0666);
    } else {
        static std::atomic<unsigned> serial{0};
        for (int attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
            writtenName_ = fmt::format("{}.{}-{}.part", finalName_, ::getpid(), serial++);
            fd_ = ::open(writtenName_.c_str(), kCreateFlags | O_EXCL, 0666);
            if (fd_ < 0 && errno != EEXIST) {
                break;
            }
        }
        if (fd_ >= 0 && exists) {
            ::fchmod(fd_, existing.st_mode & 07777);  // the replaced file's permissions
        }
        if (fd_ < 0 && exists) {
            // A writable file in a folder that takes no new names can only be written over.
            inPlace_ = true;
            writtenName_ = finalName_;
            fd_ = ::open(finalName_.c_str(), kCreateFlags | O_TRUNC, 0666);
        }
    }
    if (fd_ < 0) {
        ThrowError("Unable to create output file");
    }
}

ReplacingFile::~ReplacingFile() {
    if (fd_ >= 0) {
        ::close(fd_);
        if (!inPlace_) {
            ::unlink(writtenName_.c_str());
        }
    }
}

void ReplacingFile::Commit() {
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) {
        const int error = errno;
        if (!inPlace_) {
            ::unlink(writtenName_.c_str());
        }
        ThrowWriteError(finalName_, error);
    }
    if (!inPlace_ && ::rename(writtenName_.c_str(), finalName_.c_str()) != 0) {
        const int error = errno;
        ::unlink(writtenName_.c_str());
        ThrowWriteError(finalName_, error);
    }
}

}  // namespace hivora
