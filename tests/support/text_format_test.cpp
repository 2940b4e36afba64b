#include "support/text_format.h"

#include <gtest/gtest.h>

namespace sylva {
namespace {

TEST(FormatLine, FillsConversionsInOrderWithValuesAsTheyAre) {
    EXPECT_EQ(FormatLine("Scanning path %s for %s ...", {"/src", ".CPP|.H"}),
              "Scanning path /src for .CPP|.H ...");
    EXPECT_EQ(FormatLine("  File done, scanned items %d.", {"12"}),
              "  File done, scanned items 12.");
    EXPECT_EQ(FormatLine("%s", {"100% %s %d"}), "100% %s %d");
    EXPECT_EQ(FormatLine("a %s b %s", {"1"}), "a 1 b ");
    EXPECT_EQ(FormatLine("50% off", {}), "50% off");
    EXPECT_EQ(FormatLine("%%s and %d%s, 100%", {"a", "b", "c"}), "%a and bc, 100%");
    EXPECT_EQ(FormatLine("x%s", {std::string_view("\0y", 2)}), std::string("x\0y", 3));
}

TEST(ThreeDigits, PadsToAtLeastThreeDigits) {
    EXPECT_EQ(ThreeDigits(0), "000");
    EXPECT_EQ(ThreeDigits(7), "007");
    EXPECT_EQ(ThreeDigits(123), "123");
    EXPECT_EQ(ThreeDigits(12345), "12345");
}

}  // namespace
}  // namespace sylva
