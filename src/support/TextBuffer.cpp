#include "support/TextBuffer.h"

#include <cstring>
#include <utility>

namespace hivora {

namespace {

ClipboardSink& Sink() {
    static ClipboardSink sink;
    return sink;
}

}  // namespace

TextBuffer::TextBuffer()
    : data_(std::make_unique<char[]>(kInitialCapacity)), capacity_(kInitialCapacity) {}

void TextBuffer::AppendText(std::string_view text) {
    if (const size_t nul = text.find('\0'); nul != std::string_view::npos) {
        text = text.substr(0, nul);
    }
    const size_t needed = length_ + text.size() + 1;
    if (needed > capacity_) {
        const size_t capacity = needed * 2;
        auto data = std::make_unique<char[]>(capacity);
        std::memcpy(data.get(), data_.get(), length_ + 1);
        data_ = std::move(data);
        capacity_ = capacity;
    }
    std::memcpy(data_.get() + length_, text.data(), text.size());
    length_ += text.size();
    data_[length_] = '\0';
}

bool TextBuffer::CopyToClipboard() const {
    const ClipboardSink& sink = Sink();
    return sink ? sink(Text()) : false;
}

void SetClipboardSink(ClipboardSink sink) {
    Sink() = std::move(sink);
}

bool CopyTextToClipboard(std::string_view text) {
    TextBuffer buffer;
    buffer.AppendText(text);
    return buffer.CopyToClipboard();
}

}  // namespace hivora
