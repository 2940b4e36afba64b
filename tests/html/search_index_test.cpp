// The search index: the text its words come from, the script files it writes (what a query finds
// in them, how they are split, that any name stays inside its string), and what a run gives it.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "html/script_literal.h"
#include "html/search_index.h"
#include "html/search_terms.h"
#include "html/search_text.h"
#include "html/utf8_text.h"
#include "html_project.h"

namespace sylva {
namespace {

using Files = std::map<std::string, std::string>;

// A writer whose files are kept in `files`.
struct WrittenIndex {
    Files files;
    SearchIndexWriter writer{[this](const std::string& name, std::string_view content) {
        EXPECT_FALSE(files.contains(name)) << name << " is written twice";
        files[name] = content;
        return Status::Ok();
    }};

    void Add(const SearchEntry& entry) { writer.Add(IndexSearchEntry(entry)); }
    Files& Finish() {
        EXPECT_TRUE(writer.Finish().ok());
        return files;
    }
};

// The postings of an ASCII `term` as (item, level) pairs, read back from the shard that a
// query for it loads; empty when it has none.
std::vector<std::pair<int, int>> Postings(const Files& files, const std::string& term) {
    const std::string digits = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_";
    auto shard = files.find("sylva_search_w_" + term.substr(0, 2) + ".js");
    std::size_t at =
        shard == files.end() ? std::string::npos : shard->second.find("\"" + term + "\",\"");
    std::vector<std::pair<int, int>> postings;
    if (at == std::string::npos) {
        return postings;
    }
    int item = 0;
    long value = 0;
    long scale = 1;
    for (std::size_t i = at + term.size() + 4; shard->second[i] != '"'; ++i) {
        long digit = static_cast<long>(digits.find(shard->second[i]));
        value += digit % 32 * scale;
        scale = digit >= 32 ? scale * 32 : 1;
        if (digit < 32) {
            item += static_cast<int>(value / 8);
            postings.emplace_back(item, static_cast<int>(value % 8));
            value = 0;
        }
    }
    return postings;
}

TEST(SearchText, PlainTextDropsTagsAndDecodesEntities) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"Opens the \"<a href=\"SYLVA_Door.html\">Door</a>\".", "Opens the \"Door\"."},
        {"one<BR>two<td>three</td><p>four", "one two three four"},
        {"in<b>line</b> and <font face=x>font</font>", "inline and font"},
        {"x &amp; y &lt;z&gt; &quot;q&quot; &apos;a&apos; &#252;&#xFC;&nbsp;end",
         "x & y <z> \"q\" 'a' \xC3\xBC\xC3\xBC end"},
        {"1 < 2 && 3 > 2 &unknown; &#0; &#xD800;", "1 < 2 && 3 > 2 &unknown; &#0; &#xD800;"},
        {"  lots \t of\n  space  ", "lots of space"},
        {"<pre>  code();</pre>", "code();"},
        {"unclosed <a href=", "unclosed <a href="},
    };
    for (const auto& [html, plain] : cases) {
        EXPECT_EQ(PlainTextOfHtml(html), plain) << html;
    }
}

TEST(SearchText, TermsAreWordsAndTheirPartsInLowerCase) {
    const std::vector<std::pair<std::string, std::vector<std::string>>> cases = {
        {"WinterCutHeight", {"wintercutheight", "winter", "cut", "height"}},
        {"CBed::Plant", {"cbed", "bed", "plant"}},
        {"NURSERY_MIN_CUT_HEIGHT", {"nursery_min_cut_height", "nursery", "min", "cut", "height"}},
        {"m_name HTMLParser", {"m_name", "name", "htmlparser", "html", "parser"}},
        {"utf8 v2 42 1.0 a __", {"utf8", "utf", "v2"}},
        // Bytes above 127 are letters, and only ASCII letters are folded.
        {"Gr\xC3\xB6\xC3\x9F"
         "e, \xE2\x80\x9Cquoted\xE2\x80\x9D",
         {"gr\xC3\xB6\xC3\x9F"
          "e",
          "quoted"}},
        {std::string(kMaxTermLength + 1, 'x') + " " + std::string(kMaxTermLength, 'y'),
         {std::string(kMaxTermLength, 'y')}},
    };
    for (const auto& [text, expected] : cases) {
        std::vector<std::string> terms;
        ForEachTerm(text, [&terms](std::string_view term) { terms.emplace_back(term); });
        EXPECT_EQ(terms, expected) << text;
    }
}

TEST(SearchText, BytesBecomeUtf8AndSentencesEndAtTheFirstStop) {
    EXPECT_EQ(ToUtf8("R\xFC"
                     "ckgabe \x80 \xC3\xBC \xC3 \xC0\xAF \xED\xA0\x80"),
              "R\xC3\xBC"
              "ckgabe \xE2\x82\xAC \xC3\xBC \xC3\x83 \xC3\x80\xC2\xAF "
              "\xC3\xAD\xC2\xA0\xE2\x82\xAC");
    EXPECT_EQ(FirstSentence("Waters a bed. Then rests.", 100), "Waters a bed.");
    EXPECT_EQ(FirstSentence("Version 1.2 is out", 100), "Version 1.2 is out");
    EXPECT_EQ(FirstSentence("one two three four", 9), "one two\xE2\x80\xA6");
    EXPECT_EQ(FirstSentence("\xC3\xBC\xC3\xBC\xC3\xBC", 3), "\xC3\xBC\xE2\x80\xA6");
}

TEST(ScriptLiteral, HoldsOnlyPrintableAsciiAndCannotEndTheScript) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"plain", R"("plain")"},
        {"a\"b\\c", R"("a\"b\\c")"},
        {"</script><!--&", R"("\u003c/script\u003e\u003c!--\u0026")"},
        {"tab\tline\nend\x7F", R"("tab\u0009line\u000aend\u007f")"},
        {"\xC3\xBC \xE2\x82\xAC \xE2\x80\xA8 \xF0\x9F\x8C\xB3",
         R"("\u00fc \u20ac \u2028 \ud83c\udf33")"},
    };
    for (const auto& [utf8, literal] : cases) {
        std::string out;
        AppendScriptString(out, utf8);
        EXPECT_EQ(out, literal) << utf8;
    }
}

SearchEntry Entry(std::string name, std::string description = "", std::string other = "") {
    return {name,
            "SYLVA_" + name + ".html",
            "Beds",
            "Public",
            "Summary of " + name,
            std::move(description),
            std::move(other)};
}

TEST(SearchIndexWriter, PostingsTellWhereEachItemHoldsATerm) {
    WrittenIndex index;
    index.Add(Entry("Plant", "the plant is set", ""));
    index.Add(Entry("CBed::Plant", "sets a plant into the bed", ""));
    index.Add(Entry("Water", "no match here", "Remarks mention a plant"));
    index.Add(Entry("The", "the the", ""));
    index.Add(Entry("git_transport::oid_type"));
    SearchEntry old = Entry("GIT_OID_RAW");
    old.deprecated = true;
    index.Add(old);
    index.Add(Entry("git_oid"));
    Files& files = index.Finish();

    enum { kFull, kWholeWord, kNameWord, kDescription, kOther };
    EXPECT_EQ(Postings(files, "plant"),
              (std::vector<std::pair<int, int>>{{0, kFull}, {1, kWholeWord}, {2, kOther}}));
    // A whole word of the name and the last part of its last word rank above its other parts.
    EXPECT_EQ(Postings(files, "oid"),
              (std::vector<std::pair<int, int>>{{4, kNameWord}, {5, kNameWord}, {6, kWholeWord}}));
    EXPECT_EQ(Postings(files, "oid_type"), (std::vector<std::pair<int, int>>{{4, kWholeWord}}));
    EXPECT_EQ(Postings(files, "type"), (std::vector<std::pair<int, int>>{{4, kWholeWord}}));
    EXPECT_EQ(Postings(files, "transport"), (std::vector<std::pair<int, int>>{{4, kNameWord}}));
    EXPECT_EQ(Postings(files, "raw"), (std::vector<std::pair<int, int>>{{5, kWholeWord}}));
    EXPECT_NE(files["sylva_search_index.js"].find(",\"deprecated\":[5]});"), std::string::npos);
    EXPECT_EQ(Postings(files, "cbed::plant"), (std::vector<std::pair<int, int>>{{1, kFull}}));
    EXPECT_EQ(Postings(files, "bed"), (std::vector<std::pair<int, int>>{{1, kNameWord}}));
    EXPECT_EQ(Postings(files, "cbed"), (std::vector<std::pair<int, int>>{{1, kWholeWord}}));
    EXPECT_EQ(Postings(files, "remarks"), (std::vector<std::pair<int, int>>{{2, kOther}}));
    // Stop words are not indexed in texts, but a name is always found.
    EXPECT_EQ(Postings(files, "the"), (std::vector<std::pair<int, int>>{{3, kFull}}));
    EXPECT_TRUE(Postings(files, "into").empty());
    // The group is a word of every item.
    EXPECT_EQ(Postings(files, "beds").size(), 7u);

    EXPECT_NE(files["sylva_search_index.js"].find("\"items\":7,\"block\":64,\"keys\":["),
              std::string::npos);
    EXPECT_NE(files["sylva_search_index.js"].find("\"pl\""), std::string::npos);
    EXPECT_EQ(
        files["sylva_search_i_0.js"].rfind("SylvaSearch.items(0,[\"Beds\",\"Public\"],[[\"Plant\","
                                           "\"SYLVA_Plant.html\",0,1,\"Summary of Plant\"],",
                                           0),
        0u);
    EXPECT_TRUE(files.contains("sylva_search.js"));
    EXPECT_TRUE(files.contains("sylva_search.css"));
}

TEST(SearchIndexWriter, SplitsTheItemTableIntoBlocksAndLargeShardsByMoreCharacters) {
    WrittenIndex index;
    // Enough distinct "pa..." names to outgrow one shard, and the term "pa" itself.
    const int count = static_cast<int>(kShardBudget / 20);
    index.Add(Entry("pa"));
    for (int i = 1; i < count; ++i) {
        index.Add(Entry("pa" + std::string(1, static_cast<char>('a' + i % 26)) + std::to_string(i) +
                        "xxxx"));
    }
    Files& files = index.Finish();

    const std::size_t blocks =
        (static_cast<std::size_t>(count) + kItemBlockSize - 1) / kItemBlockSize;
    EXPECT_TRUE(files.contains("sylva_search_i_" + std::to_string(blocks - 1) + ".js"));
    EXPECT_FALSE(files.contains("sylva_search_i_" + std::to_string(blocks) + ".js"));
    EXPECT_NE(files["sylva_search_index.js"].find("\"split\":[\"pa\"]"), std::string::npos);
    // The term equal to the split key stays under it; the others moved to longer keys.
    const std::string& shortShard = files["sylva_search_w_pa.js"];
    EXPECT_EQ(shortShard.rfind("SylvaSearch.shard(\"pa\",[\"pa\",\"", 0), 0u) << shortShard;
    EXPECT_EQ(std::count(shortShard.begin(), shortShard.end(), ','), 2);
    EXPECT_EQ(Postings(files, "pa").size(), 1u);
    for (const auto& [name, content] : files) {
        EXPECT_LE(content.size(), kShardBudget) << name;
    }
    EXPECT_NE(files["sylva_search_w_paq.js"].find("\"paq16xxxx\""), std::string::npos);
}

TEST(SearchIndexWriter, AnyNameStaysInsideItsStringAndTheSameEntriesGiveTheSameBytes) {
    auto write = [] {
        WrittenIndex index;
        for (std::string name :
             {std::string("</script><script>alert(1)"), std::string("say \"hi\" \\ 'there'"),
              std::string("R\xFC"
                          "ckgabe \xC3\xBC\xE2\x82\xAC"),
              std::string("line\nbreak\x01")}) {
            index.Add(Entry(name, name, name));
        }
        return index.Finish();
    };
    Files files = write();
    EXPECT_EQ(files, write());
    for (const auto& [name, content] : files) {
        if (name == "sylva_search.js" || name == "sylva_search.css") {
            continue;
        }
        std::size_t quotes = 0;
        for (std::size_t i = 0; i < content.size(); ++i) {
            unsigned char c = static_cast<unsigned char>(content[i]);
            ASSERT_TRUE((c >= 0x20 && c < 0x7F && c != '<' && c != '>') ||
                        content.substr(i) == "\n")
                << name << " holds byte " << int(c) << " at " << i;
            if (c == '\\') {
                ++i;  // an escape: the next byte is part of it
            } else if (c == '"') {
                ++quotes;
            }
        }
        EXPECT_EQ(quotes % 2, 0u) << name;
    }
    EXPECT_NE(files["sylva_search_i_0.js"].find("\"R\\u00fcckgabe \\u00fc\\u20ac\""),
              std::string::npos);
}

TEST(SearchIndexWriter, WritesFullBlocksAtOnceAndNothingAfterAFailure) {
    std::vector<std::string> tried;
    SearchIndexWriter writer([&tried](const std::string& name, std::string_view) {
        tried.push_back(name);
        return tried.size() == 3 ? Status::WriteFailed("disk full") : Status::Ok();
    });
    for (std::size_t i = 0; i < 2 * kItemBlockSize; ++i) {
        writer.Add(IndexSearchEntry(Entry("Item" + std::to_string(i))));
        EXPECT_EQ(tried.size(), (i + 1) / kItemBlockSize) << i;
    }
    writer.Add(IndexSearchEntry(Entry("Last")));
    Status status = writer.Finish();
    EXPECT_EQ(status.reason(), "disk full");
    EXPECT_EQ(tried, (std::vector<std::string>{"sylva_search_i_0.js", "sylva_search_i_1.js",
                                               "sylva_search_i_2.js"}));
}

TEST(SearchPages, ARunWithSearchIndexesWhatThePagesShowAndWithoutItWritesNoSearchFile) {
    for (bool on : {false, true}) {
        test::HtmlProject project;
        if (on) {
            project.scanned.settings.Set(SYL_HTML_SEARCH, " yes ");
        }
        project.Add("Open", {"Group: Files", "Description: Opens a <b>file</b>. Then", "reads.",
                             "Remarks: Mind the lockfile.", "See also: Zebra",
                             "Doc type: public helper quokka", "History: 1.0 firstversion"});
        project.scanned.options.sectionType = 1;
        project.Sort();
        EXPECT_EQ(WriteDescriptionPages(project.job), 1);

        std::vector<std::string> lines = project.ProtocolLines();
        bool reported = std::find(lines.begin(), lines.end(),
                                  "  Generating search index for 1 items...") != lines.end();
        EXPECT_EQ(reported, on);
        EXPECT_EQ(std::filesystem::exists(project.ProjectFile("sylva_search_index.js")), on);
        if (!on) {
            continue;
        }
        Files files;
        for (const auto& entry : std::filesystem::directory_iterator(project.ProjectFile(""))) {
            std::string name = entry.path().filename();
            files[name] = project.Read(name);
        }
        EXPECT_EQ(
            files["sylva_search_i_0.js"],
            "SylvaSearch.items(0,[\"Files\",\"Public Helper\"],[[\"Open\",\"SYLVA_Open.html\","
            "0,1,\"Opens a file.\"]]);\n");
        EXPECT_EQ(Postings(files, "reads"), (std::vector<std::pair<int, int>>{{0, 3}}));
        EXPECT_EQ(Postings(files, "lockfile"), (std::vector<std::pair<int, int>>{{0, 4}}));
        EXPECT_EQ(Postings(files, "firstversion"), (std::vector<std::pair<int, int>>{{0, 4}}));
        for (std::string absent : {"zebra", "quokka", "change"}) {
            EXPECT_TRUE(Postings(files, absent).empty()) << absent;
        }
    }
}

}  // namespace
}  // namespace sylva
