// A file written beside its final name and renamed over it only when complete, so that a
// failed write never leaves a half-written file under the name the user chose (nor destroys
// the file that stood there). A name that stands for something other than a plain file (a
// device such as /dev/null, a pipe, a symbolic link) is written in place instead, and so is
// an existing file in a folder where no file can be added.
#pragma once

#include <string>

namespace hivora {

class ReplacingFile {
public:
    // Creates the file to write; raises "Unable to create output file" when it can't.
    explicit ReplacingFile(std::string finalName);
    // Removes what was written unless Commit() succeeded.
    ~ReplacingFile();
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;

    int Descriptor() const { return fd_; }
    // Closes the file and gives it its final name; raises FileError naming the final name.
    void Commit();

private:
    std::string finalName_;
    std::string writtenName_;  // the temporary name, or the final one when written in place
    int fd_ = -1;
    bool inPlace_ = false;
};

}  // namespace hivora
