// What the two value viewer windows share without a window: where the next one is placed, and
// saving a text to a file.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace hivora {

// Successive viewers step 30 pixels down from an offset of 5; past 250 a new column starts 50
// pixels to the right at 0. The offsets start over when no viewer is open.
class CascadePlacement {
public:
    struct Offset {
        int x = 0;
        int y = 0;
    };
    // The offset for a new viewer, given how many viewers are open (not counting it).
    Offset CascadeViewer(size_t openViewers);

private:
    int x_ = 0;
    int y_ = 5;
};

// The process-wide placement shared by both viewer kinds.
CascadePlacement& ViewerCascade();

// Creates or truncates `path` and writes `text` up to its first NUL, without a line end.
// Raises FileError naming the file and the cause.
void SaveTextToFile(const std::string& path, std::string_view text);

}  // namespace hivora
