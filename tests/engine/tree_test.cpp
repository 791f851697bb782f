#include "engine/engine.h"
#include <gtest/gtest.h>

TEST(TreeConstructors, CheckModeAllocatesNothing)
{
    std::size_t before = LiveNodeCount();
    EXPECT_EQ(MakeConstNode(2, ParseCheck), nullptr);
    EXPECT_EQ(MakeBinaryNode(OpAdd, nullptr, nullptr, ParseCheck), nullptr);
    EXPECT_EQ(LiveNodeCount(), before);
}
