// The items a file gave, as the cache keeps them: they come back from their bytes equal, field
// for field, and damaged bytes give nothing.
#include <gtest/gtest.h>

#include "scan/item_records.h"
#include "scan_fixture.h"

namespace sylva {
namespace {

using test::Block;
using test::Scanned;

// Two files, one of each style, whose items between them set every field: names repeated (a
// numbered page), private and public ones, declarations with and without parameters, groups
// and a group title.
const std::string kMarkerSource =
    Block(
        "int Measure(int depth, // in cm\n"
        "            int width)",
        {"Description: Measures a pond.", "Group: Ponds", "Doc type: private helper"}) +
    Block("int Measure(int depth)", {"Description: Measures again.", "Group: Ponds"}) +
    Block("class CPond", {"Description: A pond."});
constexpr const char* kDoxygenSource =
    "/** @defgroup water Water handling\n"
    "    The water.\n"
    "    @{ */\n"
    "/** Fills a @p pond.\n"
    "    @param pond the pond\n"
    "    @return the litres */\n"
    "int Fill(int pond);\n"
    "/** @} */\n"
    "/// A keeper.\n"
    "class CKeeper {\n"
    "  protected:\n"
    "    /// How many ponds.\n"
    "    int count;\n"
    "};\n"
    "/** Measures a pond the doxygen way. */\n"
    "int Measure(long depth);\n";

struct FileRecord {
    std::string path;
    std::string bytes;
};

// Scans both files into `scanned`, returning each file's record.
std::vector<FileRecord> ScanBoth(Scanned& scanned) {
    std::vector<FileRecord> records;
    const std::pair<std::string, CommentStyle> files[] = {{"ponds.h", CommentStyle::kSylva},
                                                          {"water.h", CommentStyle::kDoxygen}};
    for (const auto& [path, style] : files) {
        const ItemList::Mark from = scanned.items.Position();
        ScanJob job = scanned.Job();
        job.style = style;
        EXPECT_GT(ScanBuffer(job, style == CommentStyle::kSylva ? kMarkerSource : kDoxygenSource,
                             path, test::kSourceTime),
                  0);
        records.push_back({path, EncodeFileItems(scanned.items, from)});
    }
    return records;
}

TEST(ItemRecordsTest, ItemsOfBothStylesComeBackEqualFieldForField) {
    Scanned original;
    const std::vector<FileRecord> records = ScanBoth(original);
    Scanned decoded;
    for (const FileRecord& record : records) {
        ASSERT_EQ(DecodeFileItems(record.bytes, decoded.items, record.path, test::kSourceTime,
                                  decoded.settings, "."),
                  RecordUse::kFiled);
    }
    for (Scanned* scanned : {&original, &decoded}) {
        scanned->items.UseGroupTitles([](std::string_view, int, std::string_view) {});
        scanned->items.Sort();
    }
    ASSERT_EQ(decoded.items.size(), original.items.size());

    // Every field is set by one item or another, so a field the records drop cannot pass.
    bool numbered = false, privateOne = false, withSyntax = false, doxygen = false, grouped = false;
    for (std::size_t i = 0; i < original.items.size(); ++i) {
        const CSylItem& item = *original.items[i];
        SCOPED_TRACE(item.name);
        EXPECT_TRUE(item == *decoded.items[i]);
        EXPECT_EQ(ItemDigest(item), ItemDigest(*decoded.items[i]));
        numbered = numbered || item.pageNumber >= 0;
        privateOne = privateOne || (item.isPublic == 0 && item.accessRank == 200);
        withSyntax = withSyntax || item.hasSyntax != 0;
        doxygen = doxygen || item.style == CommentStyle::kDoxygen;
        grouped = grouped || !item.group.empty();
        EXPECT_NE(item.sourceLine, 0);
        EXPECT_FALSE(item.BlockText().empty());
    }
    EXPECT_TRUE(numbered && privateOne && withSyntax && doxygen && grouped);
    EXPECT_EQ(decoded.Names(), original.Names());

    // The declarations the coverage counts come back too, documented or not, with their file.
    const auto& seen = original.items.Declarations();
    ASSERT_EQ(decoded.items.Declarations().size(), seen.size());
    ASSERT_FALSE(seen.empty());
    for (std::size_t i = 0; i < seen.size(); ++i) {
        EXPECT_EQ(decoded.items.Declarations()[i].seen, seen[i].seen) << seen[i].seen.name;
        EXPECT_EQ(decoded.items.Declarations()[i].sourceFile, seen[i].sourceFile);
    }
}

TEST(ItemRecordsTest, DamagedBytesFileNothing) {
    Scanned original;
    for (const FileRecord& record : ScanBoth(original)) {
        // Every truncation, and one byte more than the record holds.
        for (std::size_t size = 0; size < record.bytes.size(); ++size) {
            Scanned decoded;
            EXPECT_EQ(DecodeFileItems(std::string_view(record.bytes).substr(0, size), decoded.items,
                                      record.path, test::kSourceTime, decoded.settings, "."),
                      RecordUse::kDamaged)
                << record.path << " cut to " << size;
            EXPECT_EQ(decoded.items.size(), 0u);
        }
        Scanned longer;
        EXPECT_EQ(DecodeFileItems(record.bytes + "x", longer.items, record.path, test::kSourceTime,
                                  longer.settings, "."),
                  RecordUse::kDamaged);
        EXPECT_EQ(longer.items.size(), 0u);
    }
}

}  // namespace
}  // namespace sylva
