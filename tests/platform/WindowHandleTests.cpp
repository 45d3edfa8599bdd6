// A window handle through a 32-bit property and back.
#include "platform/WindowHandle.h"

#include <gtest/gtest.h>

#include <limits>

namespace relingo {
namespace {

TEST(WindowHandleTest, The32BitFormComesBackBySignExtension) {
    const struct {
        int32_t asLong;
        intptr_t handle;
    } cases[] = {
        {0, 0},
        {0x1234, 0x1234},
        {-2, -2},
        {std::numeric_limits<int32_t>::max(), std::numeric_limits<int32_t>::max()},
        {std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::min()},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(LongToWindowHandle(c.asLong), c.handle) << c.asLong;
        EXPECT_EQ(WindowHandleToLong(c.handle), c.asLong) << c.asLong;
    }
}

TEST(WindowHandleTest, OnlyTheLow32BitsOfAWideHandleAreKept) {
    if constexpr (sizeof(intptr_t) > sizeof(int32_t)) {
        EXPECT_EQ(WindowHandleToLong(static_cast<intptr_t>(0x100001234LL)), 0x1234);
        EXPECT_EQ(WindowHandleToLong(static_cast<intptr_t>(0xFFFFFFFELL)), -2);
    }
}

} // namespace
} // namespace relingo
