// The program's exception: a message for the user, thrown by value where a command cannot
// complete and caught by the one wrapper that runs every command (or by the command-line tool).
#pragma once

#include <exception>
#include <string>

namespace hivora {

class CMyException : public std::exception {
public:
    explicit CMyException(std::string message) : message_(std::move(message)) {}
    const char* what() const noexcept override { return message_.c_str(); }
    const std::string& GetErrorMessage() const { return message_; }

private:
    std::string message_;
};

// A file that could not be opened, read or written: "Unable to open <file>: <reason>" and the
// like. Caught together with CMyException.
class FileError : public CMyException {
public:
    using CMyException::CMyException;
};

[[noreturn]] inline void ThrowError(std::string message) {
    throw CMyException(std::move(message));
}

}  // namespace hivora
