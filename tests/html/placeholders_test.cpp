#include "html/placeholders.h"

#include <gtest/gtest.h>

namespace sylva {
namespace {

TEST(FillTemplate, ReplacesEveryOccurrenceInOrderAndEscapesNothing) {
    struct Case {
        const char* name;
        std::string result;
        std::string expected;
    };
    const Case cases[] = {
        {"every occurrence",
         FillTemplate("<a href=\"[LinkedFile]\">[LinkName]</a>[LinkName]",
                      {{placeholder::kLinkedFile, "x.html"}, {placeholder::kLinkName, "X"}}),
         "<a href=\"x.html\">X</a>X"},
        {"values are not escaped",
         FillTemplate("[ShortDesc]", {{placeholder::kShortDesc, "<b>&</b>"}}), "<b>&</b>"},
        {"a value holding a later placeholder is filled in turn",
         FillTemplate("[LinkName]",
                      {{placeholder::kLinkName, "in [Font]"}, {placeholder::kFont, "F"}}),
         "in F"},
        {"a value holding an earlier placeholder stays",
         FillTemplate("[Font] [LinkName]",
                      {{placeholder::kFont, "F"}, {placeholder::kLinkName, "[Font]"}}),
         "F [Font]"},
        {"missing placeholders change nothing", FillTemplate("plain", {{placeholder::kFont, "F"}}),
         "plain"},
        {"placeholders without a value stay",
         FillTemplate("[Font][DateTime]", {{placeholder::kFont, ""}}), "[DateTime]"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.result, c.expected) << c.name;
    }
}

}  // namespace
}  // namespace sylva
