#include "support/TextBuffer.h"

#include <gtest/gtest.h>

#include <string>

namespace hivora {
namespace {

TEST(TextBuffer, GrowsToTwiceWhatTheTextNeeds) {
    TextBuffer buffer;
    EXPECT_EQ(buffer.Capacity(), 16384u);
    EXPECT_EQ(buffer.Length(), 0u);
    EXPECT_STREQ(buffer.CStr(), "");

    buffer.AppendText(std::string(20000, 'x'));
    EXPECT_EQ(buffer.Capacity(), 40002u);
    EXPECT_EQ(buffer.Length(), 20000u);

    buffer.AppendText("\r\nend");
    EXPECT_EQ(buffer.Capacity(), 40002u);
    EXPECT_EQ(buffer.Text().substr(19999), "x\r\nend");
    EXPECT_EQ(buffer.CStr()[buffer.Length()], '\0');

    // Exactly filling the block (text plus terminator) needs no growth.
    TextBuffer full;
    full.AppendText(std::string(16383, 'y'));
    EXPECT_EQ(full.Capacity(), 16384u);
    full.AppendText("z");
    EXPECT_EQ(full.Capacity(), 32770u);
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
