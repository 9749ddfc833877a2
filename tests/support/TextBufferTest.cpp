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
    EXPECT_FALSE(CopyTextToClipboard("no clipboard installed"));
}

}  // namespace
}  // namespace hivora
