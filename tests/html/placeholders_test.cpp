#include "html/placeholders.h"

#include <gtest/gtest.h>

#include <iterator>
#include <random>
#include <string>
#include <string_view>

#include "support/zt_string.h"

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
        {"an empty value that joins template text into a later placeholder",
         FillTemplate("[Link[Font]Name]",
                      {{placeholder::kFont, ""}, {placeholder::kLinkName, "X"}}),
         "X"},
        {"a value that completes a later placeholder",
         FillTemplate("[Link[Font]]",
                      {{placeholder::kFont, "Name"}, {placeholder::kLinkName, "X"}}),
         "X"},
        {"brackets in a value that make no placeholder",
         FillTemplate("[LinkName] [Font]",
                      {{placeholder::kLinkName, "a[i]"}, {placeholder::kFont, "F"}}),
         "a[i] F"},
        {"closed and unclosed brackets of the template stay",
         FillTemplate("[x] ][Font] [", {{placeholder::kFont, "F"}}), "[x] ]F ["},
        {"a placeholder given twice takes its first value",
         FillTemplate("[Font]", {{placeholder::kFont, "1"}, {placeholder::kFont, "2"}}), "1"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.result, c.expected) << c.name;
    }
}

// Any template and values, filled at once, give what replacing each placeholder in turn gives.
TEST(FillTemplate, GivesWhatReplacingEachPlaceholderInTurnGives) {
    const std::string_view pieces[] = {"[Font]", "[LinkName]", "[", "]", "a", "Name]", "[Link"};
    const std::string_view values[] = {"", "x", "Name", "[Font]", "a]", "[Link"};
    std::mt19937 random(7);
    auto pick = [&random](auto& from) {
        return from[std::uniform_int_distribution<std::size_t>(0, std::size(from) - 1)(random)];
    };
    for (int round = 0; round < 2000; ++round) {
        std::string templateText;
        for (int i = std::uniform_int_distribution<int>(0, 6)(random); i > 0; --i) {
            templateText.append(pick(pieces));
        }
        const std::string_view font = pick(values);
        const std::string_view name = pick(values);
        CZTString expected(templateText);
        expected.FindReplace(placeholder::kFont, font);
        expected.FindReplace(placeholder::kLinkName, name);
        EXPECT_EQ(FillTemplate(templateText,
                               {{placeholder::kFont, font}, {placeholder::kLinkName, name}}),
                  expected)
            << templateText << " with " << font << ", " << name;
    }
}

}  // namespace
}  // namespace sylva
