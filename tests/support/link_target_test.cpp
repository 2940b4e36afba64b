#include "support/link_target.h"

#include <gtest/gtest.h>

namespace sylva {
namespace {

TEST(LinkTarget, EscapesOnlyNonAsciiBytesAndAmpersands) {
    struct Case {
        std::string_view name;
        std::string_view expected;
    };
    const Case cases[] = {
        {"SYLVA_CFoo__Bar.html", "SYLVA_CFoo__Bar.html"},
        {"../SYLVA_MAIN_INDEX.HTML", "../SYLVA_MAIN_INDEX.HTML"},
        {"SYLVA_Gr\xC3\xB6\xC3\x9F"
         "e.html",
         "SYLVA_Gr%C3%B6%C3%9Fe.html"},  // UTF-8
        {"SYLVA_Gr\xF6\xDF"
         "e.html",
         "SYLVA_Gr%F6%DFe.html"},  // Windows-1252
        {"SYLVA_a&copy.html", "SYLVA_a%26copy.html"},
        {"SYLVA_two words.html", "SYLVA_two words.html"},
        {"", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(LinkTarget(c.name), c.expected) << c.name;
    }
}

}  // namespace
}  // namespace sylva
