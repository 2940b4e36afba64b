#include "support/protocol.h"

#include <gtest/gtest.h>

#include <string>

namespace sylva {
namespace {

TEST(MemoryListBox, KeepsAtMostTheLimitDroppingTheOldest) {
    MemoryListBox list;
    for (int i = 0; i < 1005; ++i) {
        list.AddSelString("line " + std::to_string(i), 1, 1000);
    }
    ASSERT_EQ(list.Lines().size(), 1000u);
    EXPECT_EQ(list.Lines().front(), "line 5");
    EXPECT_EQ(list.Lines().back(), "line 1004");
    list.ResetContent();
    EXPECT_TRUE(list.Lines().empty());
}

}  // namespace
}  // namespace sylva
