#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "html/cross_link.h"
#include "html_project.h"
#include "test_support/recording_diagnostics.h"

namespace sylva {
namespace {

using test::HtmlProject;

std::string Link(const std::string& target, const std::string& name) {
    return "<a href=\"SYLVA_" + target + ".html\">" + name + "</a>";
}

// Links one line placed in `section` of the item `owner`, among items of the given names.
std::string LinkLine(const std::vector<std::string>& names, const std::string& owner,
                     SectionKind section, const std::string& line) {
    HtmlProject project;
    CSylItem* ownerItem = nullptr;
    for (const std::string& name : names) {
        CSylItem& item = project.Add(name);
        if (name == owner) {
            ownerItem = &item;
        }
    }
    project.Sort();
    if (ownerItem == nullptr) {
        return "(no item " + owner + ")";
    }
    ownerItem->Details().sections[section].Add(line);
    EXPECT_EQ(project.generator.CrossLinkSections(), 1);
    return ownerItem->Details().sections[section].GetAt(0);
}

TEST(CrossLinkSections, LinksQuotedItemNames) {
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
        {"see also lines are never touched", kSectionSeeAlso, "\"Close\"", "\"Close\""},
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

TEST(CrossLinkSections, NamesThatOccurInLinkMarkupNeverCorruptEarlierLinks) {
    // Items named like the parts of a link: replacing them inside the tags of links made before
    // would corrupt those links and could make the line rescan for ever.
    const std::vector<std::string> names = {
        "Owner",    "a",          "href", "Close", "SYLVA_Close.html",
        "<a href=", ">Close</a>", "",     "\"",    "html"};
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
        EXPECT_EQ(LinkLine(names, "Owner", kSectionDescription, c.line), c.expected) << c.line;
    }
}

TEST(CrossLinkSections, ALineWithManyNamesIsLinkedCompletely) {
    HtmlProject project;
    CSylItem& owner = project.Add("Owner");
    std::string line;
    std::string expected;
    for (int i = 0; i < 40; ++i) {
        std::string name = "Item" + std::to_string(100 + i);
        project.Add(name);
        line += "\"" + name + "\" ";
        // Appended, not "literal" + string: GCC 12 at -O3 warns falsely of that (-Wrestrict).
        expected.append("\"").append(Link(name, name)).append("\" ");
    }
    project.Sort();
    owner.Details().sections[kSectionDescription].Add(line);
    project.generator.CrossLinkSections();
    EXPECT_EQ(owner.Details().sections[kSectionDescription].GetAt(0), expected);
}

TEST(CrossLinkSections, ReportsEachItemAndSkipsKindsNotCreated) {
    HtmlProject project;
    CSylItem& pub = project.Add("Pub");
    CSylItem& priv = project.Add("Priv");
    priv.isPublic = 0;
    pub.Details().sections[kSectionDescription].Add("\"Priv\"");
    priv.Details().sections[kSectionDescription].Add("\"Pub\"");
    project.Sort();
    project.generator.typePrivate = 0;
    project.generator.CrossLinkSections();
    EXPECT_EQ(project.ProtocolLines(),
              std::vector<std::string>{"Search all HTML files for linkable text..."});
    EXPECT_EQ(project.progress.statuses,
              std::vector<std::string>{"Search for linkable text in Pub..."});
    EXPECT_EQ(pub.Details().sections[kSectionDescription].GetAt(0),
              "\"" + Link("Priv", "Priv") + "\"");
    EXPECT_EQ(priv.Details().sections[kSectionDescription].GetAt(0), "\"Pub\"");
}

TEST(LinkQuotedNames, RescansOfALineAreBounded) {
    HtmlProject project;
    project.Add("One");
    project.Add("Two");
    project.Sort();
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
        LinkQuotedNames(project.generator, linked, "Owner", c.maxRescans);
        EXPECT_EQ(linked, c.expected) << "at most " << c.maxRescans << " rescans";
    }
}

TEST(CrossLinkSections, WarnsOfQuotedTextsThatMatchANameOnlyWhenCaseIsIgnored) {
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
        HtmlProject project;
        test::RecordingDiagnostics diagnostics;
        project.generator.diagnostics = &diagnostics;
        CSylItem& owner = project.Add("Open");
        owner.sourceFile = "door.h";
        owner.sourceLine = 7;
        owner.Details().sections[c.section].Add(c.line);
        project.Add("Close");
        project.Add("CFoo::Bar");
        project.Sort();
        project.generator.CrossLinkSections();
        EXPECT_EQ(diagnostics.warnings, c.expected) << c.name;
        EXPECT_EQ(project.generator.warningCount, static_cast<int>(c.expected.size())) << c.name;
    }
}

TEST(CrossLinkSections, ItemsLeftOutByTheTypeSwitchesAreNotCaseMatched) {
    HtmlProject project;
    test::RecordingDiagnostics diagnostics;
    project.generator.diagnostics = &diagnostics;
    CSylItem& pub = project.Add("Pub");
    project.Add("Priv").isPublic = 0;
    pub.Details().sections[kSectionDescription].Add("\"priv\"");
    project.Sort();
    project.generator.typePrivate = 0;
    project.generator.CleanItemList();
    project.generator.CrossLinkSections();
    EXPECT_EQ(diagnostics.warnings, std::vector<std::string>{});
}

}  // namespace
}  // namespace sylva
