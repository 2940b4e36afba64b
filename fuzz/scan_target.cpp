// Fuzzing the source scanners: the bytes of one source file, with the first byte choosing the
// options that change how marker blocks are parsed, read by the marker-block scanner and by the
// documentation comment reader, whose items then go through the item list to their page text.
#include <algorithm>

#include "fuzz_support.h"
#include "fuzz_targets.h"
#include "html/page_text.h"
#include "html/rich_text.h"
#include "scan/doxygen/reader.h"
#include "scan/rich_text.h"
#include "support/zt_string.h"

namespace sylva::fuzz {

namespace {

bool HoldsReservedByte(std::string_view text) {
    return std::any_of(text.begin(), text.end(), rich::IsReservedByte);
}

// Aborts unless rendering `text` gives HTML without reserved bytes and without a script tag,
// whatever the source held.
void RequireSafeHtml(std::string_view text) {
    static const LinkLookup kEveryName = [](std::string_view name) {
        return std::optional<std::string>("SYLVA_" + std::string(name) + ".html");
    };
    std::string html = RenderRichText(text, kEveryName);
    Require(!HoldsReservedByte(html), "a reserved byte reached the HTML");
    Require(FindNoCase(html, "<script") == std::string::npos, "a script tag reached the HTML");
}

// Aborts unless every item of the reader points into the file, names itself without reserved
// bytes, and holds sections and rich text that render safely.
void RequireSoundDoxygenItems(std::string_view content) {
    int lines = 1 + static_cast<int>(std::count(content.begin(), content.end(), '\n'));
    for (const DoxygenItem& item :
         ReadDoxygenComments(content, [lines](int line, std::string_view) {
             Require(line >= 1 && line <= lines, "a warning outside the file");
         })) {
        Require(item.line >= 1 && item.line <= lines, "an item outside the file");
        Require(!HoldsReservedByte(item.name) && !HoldsReservedByte(item.group) &&
                    !HoldsReservedByte(item.title),
                "a reserved byte in a name, group or title");
        for (const DoxygenLine& line : item.lines) {
            Require(line.section >= 0 && line.section < kSectionCount, "a section out of range");
            RequireSafeHtml(line.text);
        }
        for (const DoxygenParameter& row : item.parameters) {
            Require(!HoldsReservedByte(row.name), "a reserved byte in a row's name");
            RequireSafeHtml(row.text);
        }
    }
}

// Aborts unless `html` holds no reserved byte and no script tag.
void RequireSafeRendered(std::string_view html) {
    Require(!HoldsReservedByte(html), "a reserved byte reached a page");
    Require(FindNoCase(html, "<script") == std::string::npos, "a script tag reached a page");
}

// Scans `content` as a run of the doxygen style does and renders what every item's page and
// index rows show; aborts unless the items are sound and the HTML is safe.
void RequireSafeDoxygenPages(std::uint8_t flags, std::string_view content) {
    FuzzProject fuzzed(flags);
    fuzzed.Scan(content, "/src/fuzz.h", CommentStyle::kDoxygen);
    RequireSoundItems(fuzzed);
    PageJob job = fuzzed.Job();
    for (const ItemList::Slot& item : fuzzed.items) {
        PageText text = DerivePageText(*item, job);
        RequireSafeRendered(text.declaration);
        RequireSafeRendered(text.typeLabel);
        for (int kind = 0; kind < kSectionCount; ++kind) {
            for (const std::string& line : text.sections[kind]) {
                RequireSafeRendered(line);
            }
        }
        std::string escaped;
        RequireSafeRendered(ShownBreakableName(*item, escaped));
        RequireSafeRendered(ShownShortDescription(*item, fuzzed.settings, fuzzed.items));
    }
}

}  // namespace

int FuzzScan(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    FuzzProject fuzzed(data[0]);
    int items = fuzzed.Scan(AsText(data + 1, size - 1), "/src/fuzz.cpp");
    Require(items == static_cast<int>(fuzzed.items.size()), "items created but not listed");
    RequireSoundItems(fuzzed);
    for (const ItemList::Slot& item : fuzzed.items) {
        (void)DeriveItemText(*item, fuzzed.settings, fuzzed.options);
    }
    RequireSoundDoxygenItems(AsText(data + 1, size - 1));
    RequireSafeDoxygenPages(data[0], AsText(data + 1, size - 1));
    return 0;
}

}  // namespace sylva::fuzz
