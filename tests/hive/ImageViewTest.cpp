#include "hive/ImageView.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

namespace hivora {
namespace {

TEST(ImageView, RefusesEveryReadThatWouldLeaveTheImage) {
    const uint8_t bytes[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    const ImageView view(bytes, sizeof bytes);
    EXPECT_EQ(view.U32(4), 0x08070605u);
    EXPECT_FALSE(view.U32(5));
    EXPECT_FALSE(view.U16(std::numeric_limits<uint64_t>::max()));
    EXPECT_FALSE(view.Contains(4, std::numeric_limits<uint64_t>::max() - 2));
    EXPECT_TRUE(view.Contains(8, 0));
    EXPECT_FALSE(view.Sub(6, 4));
    EXPECT_EQ(view.Sub(2, 4).U16(2), 0x0605u);
    EXPECT_FALSE(view.Sub(2, 4).U16(3));
}

}  // namespace
}  // namespace hivora
