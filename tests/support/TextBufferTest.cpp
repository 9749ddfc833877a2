#include "support/TextBuffer.h"

#include <gtest/gtest.h>

#include <string>

namespace hivora {
namespace {

TEST(TextBuffer, KeepsAppendedTextWholeAndTerminated) {
    TextBuffer buffer;
    buffer.AppendText(std::string(20000, 'x'));
    buffer.AppendText("\r\nend");
    EXPECT_EQ(buffer.Text().substr(19999), "x\r\nend");
    EXPECT_EQ(buffer.CStr()[buffer.Length()], '\0');
}

TEST(TextBuffer, CopiesThroughTheInstalledClipboard) {
    EXPECT_FALSE(CopyTextToClipboard("no clipboard"));

    std::string clipboard = "old";
    SetClipboardSink([&](std::string_view text) {
        clipboard = text;
        return true;
    });
    EXPECT_TRUE(CopyTextToClipboard("a\r\nb"));
    EXPECT_EQ(clipboard, "a\r\nb");
    EXPECT_TRUE(CopyTextToClipboard(""));
    EXPECT_EQ(clipboard, "");
    SetClipboardSink(nullptr);
}

}  // namespace
}  // namespace hivora
