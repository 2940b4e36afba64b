// The JSON of rich text and of names, as other tools read it: markup never leaks as bytes, spans
// left open or closed twice still give valid, balanced JSON.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>

#include "engine/model_json.h"
#include "engine/rich_json.h"
#include "scan/rich_text.h"
#include "scan/scan_fixture.h"

namespace sylva {
namespace {

using namespace rich;

std::string Block(BlockKind kind, std::string_view argument, std::string_view content) {
    std::string out;
    OpenBlock(out, kind, argument);
    out.append(content);
    CloseBlock(out);
    return out;
}

TEST(RichJsonTest, BlocksAndSpansBecomeNodes) {
    const LinkLookup lookup = [](std::string_view name) -> std::optional<std::string> {
        return name == "Known" ? std::optional<std::string>("SYLVA_Known.html") : std::nullopt;
    };
    const std::string item = Block(BlockKind::kListItem, "", "in a list");
    const struct {
        std::string text;
        std::string json;
    } cases[] = {
        {"plain", R"([{"type":"paragraph","content":["plain"]}])"},
        {"   ", "[]"},
        {std::string("a ") + kCodeOpen + "x<y" + kCodeClose,
         R"([{"type":"paragraph","content":["a ",{"code":["x<y"]}]}])"},
        // A span left open closes at the end; a stray close is dropped.
        {std::string(1, kBoldOpen) + "open" + kEmphasisClose,
         R"([{"type":"paragraph","content":[{"bold":["open"]}]}])"},
        // An outer span's end closes the inner one.
        {std::string(1, kCodeOpen) + "c" + kBoldOpen + "b" + kCodeClose + "after",
         R"([{"type":"paragraph","content":[{"code":["c",{"bold":["b"]}]},"after"]}])"},
        {std::string(1, kReferenceOpen) + "Known" + kReferenceClose + kReferenceOpen + "Gone" +
             kReferenceText + "shown" + kReferenceClose,
         R"([{"type":"paragraph","content":[{"ref":"Known","target":"SYLVA_Known.html","text":["Known"]},)"
         R"({"ref":"Gone","target":null,"text":["shown"]}]}])"},
        {std::string(1, kImageOpen) + "pic.png" + kReferenceText + "alt" + kImageClose +
             kLineBreak + kFormulaOpen + "x^2" + kFormulaClose + kLiteral + kCodeOpen,
         R"([{"type":"paragraph","content":[{"image":"pic.png","alt":["alt"]},{"break":true},)"
         R"({"formula":"x^2"},"\u0001"]}])"},
        {Block(BlockKind::kCode, "cpp", "int a;\n") + "between" +
             Block(BlockKind::kBulletList, "", item) + Block(BlockKind::kRule, "", ""),
         R"([{"type":"code","argument":"cpp","text":"int a;\n"},)"
         R"({"type":"paragraph","content":["between"]},)"
         R"({"type":"bulletList","content":[{"type":"listItem","content":)"
         R"([{"type":"paragraph","content":["in a list"]}]}]},{"type":"rule"}])"},
        // Text around literal and dropped stray bytes stays one string, escaped as JSON.
        {std::string("a") + kLiteral + kCodeOpen +
             "b\x07"
             "c \"q\"\t\xC3\xBC\xC3",
         "[{\"type\":\"paragraph\",\"content\":[\"a\\u0001bc \\\"q\\\"\\t\xC3\xBC\\ufffd\"]}]"},
        {Block(BlockKind::kCode, "",
               "a\x07"
               "b") +
             Block(BlockKind::kCode, "", "\\n"),
         R"([{"type":"code","text":"ab"},{"type":"code","text":"\\n"}])"},
        // A block left open runs to the end of the text.
        {std::string(1, kBlockOpen) + "Q" + kArgumentEnd + "quoted",
         R"([{"type":"quote","content":[{"type":"paragraph","content":["quoted"]}]}])"},
    };
    for (const auto& c : cases) {
        std::string out;
        AppendRichJson(out, c.text, lookup);
        EXPECT_EQ(out, c.json);
        EXPECT_TRUE(nlohmann::json::accept(out)) << out;
    }
}

TEST(RichJsonTest, ScopeOfQualifiedNames) {
    const std::pair<std::string_view, std::string_view> cases[] = {
        {"garden::CBed::Plant", "garden::CBed"},
        {"plain", ""},
        {"std::map<a::b, c>::find", "std::map<a::b, c>"},
        {"garden::operator::", "garden"},
        {"operator<", ""},
        {"f(a::b)", ""},
    };
    for (const auto& [name, scope] : cases) {
        EXPECT_EQ(ScopeOf(name), scope) << name;
    }
}

// The writer makes an object from the text a page derived or from one it derives itself: the
// bytes are the same whichever texts the pages hand on, and in whatever order.
TEST(ModelJsonTest, TheTextsThePagesHandOnChangeNoByte) {
    test::ScratchDir dir;
    dir.Write("src/garden.h",
              "/** The garden. */\nnamespace garden {\n/** A bed. @see Pond */\n"
              "class CBed {\n  public:\n    /** Plants. @param count how many */\n"
              "    void Plant(int count);\n};\n/** A pond. */\nstruct Pond { int depth; };\n}\n");
    test::Scanned scanned;
    const std::string root = dir.File("src");
    ScanJob job{scanned.settings, scanned.items, scanned.reporter,      root, ".H",
                "/out",           "Garden",      CommentStyle::kDoxygen};
    (void)ScanPath(job, root, true);
    const Project project = std::get<Project>(MakeProject("Garden", "", "/out", ""));
    const FinishedItems finished{scanned.items, scanned.settings,       scanned.options,
                                 project,       CommentStyle::kDoxygen, 2};
    ASSERT_TRUE(WriteModelJson(dir.File("whole.json"), finished).ok());
    std::vector<const CSylItem*> listed;
    for (const ItemList::Slot& item : scanned.items) {
        if (item) {
            listed.push_back(item.get());
        }
    }
    ASSERT_EQ(listed.size(), 4u);
    const struct {
        const char* what;
        std::vector<std::size_t> taken;
    } cases[] = {
        {"every item's text", {0, 1, 2, 3}},
        {"some, the first and the last not", {1, 2}},
        {"none", {}},
        {"out of the list's order", {2, 0, 3, 1}},
    };
    for (const auto& c : cases) {
        ModelJsonWriter writer(dir.File("taken.json"), finished);
        for (std::size_t i : c.taken) {
            const ItemText text = DeriveItemText(*listed[i], scanned.settings, scanned.options);
            writer.Take(*listed[i], writer.Read(*listed[i], &text));
        }
        ASSERT_TRUE(writer.Finish().ok()) << c.what;
        EXPECT_EQ(dir.Read("taken.json"), dir.Read("whole.json")) << c.what;
    }
}

}  // namespace
}  // namespace sylva
