// A growable NUL-terminated text, and the one path by which copy commands reach the clipboard.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string_view>

namespace hivora {

class TextBuffer {
public:
    static constexpr size_t kInitialCapacity = 16384;

    TextBuffer();
    TextBuffer(const TextBuffer&) = delete;
    TextBuffer& operator=(const TextBuffer&) = delete;

    // Appends `text` (up to a NUL it may hold). When the text and its terminator do not fit,
    // the capacity doubles what they need. Throws std::bad_alloc when the block cannot grow.
    void AppendText(std::string_view text);

    // Hands the text to the installed clipboard; false without one or when it refuses.
    bool CopyToClipboard() const;

    std::string_view Text() const { return {data_.get(), length_}; }
    const char* CStr() const { return data_.get(); }
    size_t Length() const { return length_; }
    size_t Capacity() const { return capacity_; }

private:
    std::unique_ptr<char[]> data_;
    size_t capacity_ = 0;
    size_t length_ = 0;
};

// The platform's clipboard as the program sees it: takes a text, reports success. The desktop
// program installs one; without it copying does nothing and reports failure.
using ClipboardSink = std::function<bool(std::string_view text)>;
void SetClipboardSink(ClipboardSink sink);

// The copy commands' one call: the text through a new buffer onto the clipboard.
bool CopyTextToClipboard(std::string_view text);

}  // namespace hivora
