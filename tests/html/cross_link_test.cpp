#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "html/cross_link.h"
#include "html_project.h"

namespace sylva {
namespace {

using test::HtmlProject;

std::string Link(const std::string& target, const std::string& name) {
    return "<a href=\"SYLVA_" + target + ".html\">" + name + "</a>";
}

// The block line that opens each section the cases write into.
constexpr std::pair<SectionKind, std::string_view> kHeadings[] = {
    {kSectionDescription, "Description:"}, {kSectionParameter, "Parameter:"},
    {kSectionDocType, "Doc type:"},        {kSectionThrows, "Throws:"},
    {kSectionSeeAlso, "See also:"},        {kSectionRemarks, "Remarks:"},
};

std::string_view Heading(SectionKind section) {
    for (const auto& [kind, heading] : kHeadings) {
        if (kind == section) {
            return heading;
        }
    }
    return "(no heading)";
}

// The first line of `section` of the item declared as `owner` as its page shows it, linked, when
// `line` is the section's line in its block; among the items of `declarations`.
std::string LinkLine(const std::vector<std::string>& declarations, const std::string& owner,
                     SectionKind section, const std::string& line) {
    HtmlProject html;
    const CSylItem* ownerItem = nullptr;
    for (const std::string& declaration : declarations) {
        if (declaration == owner) {
            ownerItem = &html.Add(declaration, {Heading(section), line});
        } else {
            html.Add(declaration);
        }
    }
    html.Sort();
    if (ownerItem == nullptr) {
        return "(no item " + owner + ")";
    }
    PageText text = DerivePageText(*ownerItem, html.job);
    LinkItemText(html.scanned.items, text, ownerItem->name);
    return text.sections[section].IsEmpty() ? "(no line)" : text.sections[section].GetAt(0);
}

TEST(CrossLink, LinksQuotedItemNamesWhenThePageIsBuilt) {
    const std::vector<std::string> names = {"Open", "Close", "CFoo::Bar", "CloseAll2"};
    struct Case {
        const char* name;
        SectionKind section;
        std::string line;
        std::string expected;
    };
    const Case cases[] = {
        {"a quoted name becomes a link inside its quotes", kSectionDescription,
         "Call \"Close\" after use.", "Call \"" + Link("Close", "Close") + "\" after use."},
        {"the item's own name is not linked", kSectionDescription, "See \"Open\".",
         "See \"Open\"."},
        {"unknown and case-different names stay", kSectionDescription, "\"close\" or \"Nothing\"",
         "\"close\" or \"Nothing\""},
        {"parameter lines are linked", kSectionParameter, "h: from \"Close\"",
         "h: from \"" + Link("Close", "Close") + "\""},
        {"doc type lines are linked", kSectionDocType, "\"Close\"",
         "\"" + Link("Close", "Close") + "\""},
        {"throws lines are linked", kSectionThrows, "\"Close\"",
         "\"" + Link("Close", "Close") + "\""},
        {"see also lines are links already and stay as made", kSectionSeeAlso, "\"Close\"",
         "<a href=\"SYLVA__Close_.html\">\"Close\"</a><BR>"},
        {"the target is the safe form of the name", kSectionRemarks, "\"CFoo::Bar\"",
         "\"" + Link("CFoo__Bar", "CFoo::Bar") + "\""},
        {"two names on one line", kSectionDescription, "\"Close\" then \"CFoo::Bar\"",
         "\"" + Link("Close", "Close") + "\" then \"" + Link("CFoo__Bar", "CFoo::Bar") + "\""},
        {"a linked name is replaced everywhere in the line, also inside longer words",
         kSectionDescription, "\"Close\" before Close and \"CloseAll\"",
         "\"" + Link("Close", "Close") + "\" before " + Link("Close", "Close") + " and \"" +
             Link("Close", "Close") + "All\""},
        {"a longer quoted name is linked before its shorter part", kSectionDescription,
         "\"CloseAll2\"", "\"" + Link("CloseAll2", "CloseAll2") + "\""},
        {"an unmatched quote ends the scan", kSectionDescription, "x \"Close", "x \"Close"},
        {"a name after an unknown one is found, a trailing quote is dropped", kSectionDescription,
         "\"Nothing\" \"Close\" \"", "\"Nothing\" \"" + Link("Close", "Close") + "\" \""},
        {"two adjacent quotes are passed over", kSectionDescription, "\"\"Close\"", "\"\"Close\""},
        {"names inside tags and links already made are left alone", kSectionDescription,
         "<span title=\"Close\">\"Close\"</span> <a href=\"x\">Close</a>",
         "<span title=\"Close\">\"" + Link("Close", "Close") + "\"</span> <a href=\"x\">Close</a>"},
        {"a lone '<' is text", kSectionDescription, "a < \"Close\" > b",
         "a < \"" + Link("Close", "Close") + "\" > b"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(LinkLine(names, "Open", c.section, c.line), c.expected) << c.name;
    }
}

TEST(CrossLink, NamesThatOccurInLinkMarkupNeverCorruptEarlierLinks) {
    // Items named like the parts of a link: replacing them inside the tags of links made before
    // would corrupt those links and could make the line rescan for ever. Declared so that they
    // are named "Owner", "a", "href", "Close", "SYLVA_Close.html", "<a href=", ">Close</a>", ""
    // (the empty name), "\"" and "html".
    const std::vector<std::string> declarations = {
        "Owner",    "void a()",   "href", "Close",     "SYLVA_Close.html",
        "<a href=", ">Close</a>", "()",   "void \"()", "html"};
    struct Case {
        std::string line;
        std::string expected;
    };
    const Case cases[] = {
        {"\"a\" then \"Close\"",
         "\"" + Link("a", "a") + "\" then \"" + Link("Close", "Close") + "\""},
        {"\"Close\" and \"href\"",
         "\"" + Link("Close", "Close") + "\" and \"" + Link("href", "href") + "\""},
        {"\"Close\" \"html\" \"\" \"a\"", "\"" + Link("Close", "Close") + "\" \"" +
                                              Link("html", "html") + "\" \"\" \"" + Link("a", "a") +
                                              "\""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(LinkLine(declarations, "Owner", kSectionDescription, c.line), c.expected)
            << c.line;
    }
}

TEST(CrossLink, ALineWithManyNamesIsLinkedCompletely) {
    std::vector<std::string> declarations = {"Owner"};
    std::string line;
    std::string expected;
    for (int i = 0; i < 40; ++i) {
        std::string name = "Item" + std::to_string(100 + i);
        declarations.push_back(name);
        line += "\"" + name + "\" ";
        // Appended, not "literal" + string: GCC 12 at -O3 warns falsely of that (-Wrestrict).
        expected.append("\"").append(Link(name, name)).append("\" ");
    }
    // The scan drops the line's trailing space.
    expected.pop_back();
    EXPECT_EQ(LinkLine(declarations, "Owner", kSectionDescription, line), expected);
}

TEST(CrossLink, ReportsEachItemThatGetsAPage) {
    HtmlProject html;
    html.Add("Pub", {"Description:", "\"Priv\""});
    html.Add("Priv", {"Description:", "\"Pub\"", "Doc type: private"});
    html.Sort();
    html.job.typePrivate = 0;
    CrossLink(html.job);
    EXPECT_EQ(html.ProtocolLines(),
              std::vector<std::string>{"Search all HTML files for linkable text..."});
    EXPECT_EQ(html.progress.statuses,
              std::vector<std::string>{"Search for linkable text in Pub..."});
    EXPECT_EQ(html.reporter.progressPos(), 1);
    EXPECT_EQ(html.reporter.warningCount(), 0);
}

TEST(LinkQuotedNames, RescansOfALineAreBounded) {
    HtmlProject html;
    html.Add("One");
    html.Add("Two");
    html.Sort();
    const std::string line = "\"One\" \"Two\"";
    EXPECT_EQ(RescanBound(line), 6);
    struct Case {
        int maxRescans;
        std::string expected;
    };
    const Case cases[] = {
        {0, "\"" + Link("One", "One") + "\" \"Two\""},
        {1, "\"" + Link("One", "One") + "\" \"" + Link("Two", "Two") + "\""},
        {RescanBound(line), "\"" + Link("One", "One") + "\" \"" + Link("Two", "Two") + "\""},
    };
    for (const Case& c : cases) {
        std::string linked = line;
        LinkQuotedNames(html.scanned.items, linked, "Owner", c.maxRescans);
        EXPECT_EQ(linked, c.expected) << "at most " << c.maxRescans << " rescans";
    }
}

TEST(CrossLink, WarnsOfQuotedTextsThatMatchANameOnlyWhenCaseIsIgnored) {
    const std::string warning = " only when letter case is ignored; it stays unlinked";
    struct Case {
        const char* name;
        SectionKind section;
        std::string line;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {"another item's name",
         kSectionDescription,
         "Call \"close\" after use.",
         {"door.h:7: \"close\" matches the item \"Close\"" + warning}},
        {"a qualified name",
         kSectionRemarks,
         "\"CFOO::bar\"",
         {"door.h:7: \"CFOO::bar\" matches the item \"CFoo::Bar\"" + warning}},
        {"the item's own name",
         kSectionParameter,
         "\"OPEN\"",
         {"door.h:7: \"OPEN\" matches the item \"Open\"" + warning}},
        {"each occurrence, beside a linked name",
         kSectionDescription,
         "\"Close\" or \"CLOSE\" or \"close\"",
         {"door.h:7: \"CLOSE\" matches the item \"Close\"" + warning,
          "door.h:7: \"close\" matches the item \"Close\"" + warning}},
        {"exact names", kSectionDescription, "\"Close\" and \"Open\"", {}},
        {"unknown words, empty quotes, an unmatched quote",
         kSectionDescription,
         "\"nothing\" \"\" \"close",
         {}},
        {"see also lines are not looked at", kSectionSeeAlso, "\"close\"", {}},
    };
    for (const Case& c : cases) {
        HtmlProject html;
        // The block's start marker on line 7 of door.h.
        EXPECT_EQ(
            html.scanned.Scan(
                std::string(6, '\n') + test::Block("Open", {Heading(c.section), c.line}), "door.h"),
            1);
        html.Add("Close");
        html.Add("CFoo::Bar");
        html.Sort();
        CrossLink(html.job);
        EXPECT_EQ(html.diagnostics.warnings, c.expected) << c.name;
        EXPECT_EQ(html.reporter.warningCount(), static_cast<int>(c.expected.size())) << c.name;
    }
}

TEST(CrossLink, ItemsRemovedFromTheListAreNotCaseMatched) {
    HtmlProject html;
    html.Add("Pub", {"Description:", "\"priv\""});
    html.Add("Priv", {"Doc type: private"});
    html.Sort();
    // As the run's clean-up removes the items of the kinds it does not create.
    html.job.typePrivate = 0;
    for (std::size_t slot = 0; slot < html.scanned.items.size(); ++slot) {
        if (html.scanned.items[slot]->name == "Priv") {
            html.scanned.items.Remove(slot);
        }
    }
    CrossLink(html.job);
    EXPECT_EQ(html.diagnostics.warnings, std::vector<std::string>{});
}

}  // namespace
}  // namespace sylva
