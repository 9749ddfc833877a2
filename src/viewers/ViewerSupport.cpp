#include "viewers/ViewerSupport.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "support/MyException.h"

namespace hivora {

CascadePlacement::Offset CascadePlacement::CascadeViewer(size_t openViewers) {
    if (openViewers == 0) {
        x_ = 0;
        y_ = 5;
    }
    const Offset offset{x_, y_};
    y_ += 30;
    if (y_ >= 250) {
        y_ = 0;
        x_ += 50;
    }
    return offset;
}

CascadePlacement& ViewerCascade() {
    static CascadePlacement placement;
    return placement;
}

void SaveTextToFile(const std::string& path, std::string_view text) {
    text = text.substr(0, text.find('\0'));
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        throw FileError("Unable to open " + path + ": " + std::strerror(errno));
    }
    const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    const int writeError = errno;
    if (std::fclose(file) != 0 || !written) {
        throw FileError("Unable to write " + path + ": " +
                        std::strerror(written ? errno : writeError));
    }
}

}  // namespace hivora
