// Fuzzing the cross-linking of item names: an input is a sequence of blocks separated by NUL
// bytes; the first line of a block is its declaration, the other lines its description. The
// items scanned from them are cross-linked; every line must stay within the size that linking
// each of its bytes at most once allows.
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_support.h"
#include "fuzz_targets.h"
#include "html/cross_link.h"

namespace sylva::fuzz {

namespace {

// A link "<a href=\"SYLVA_x.html\">x</a>" in place of a one-byte name is the largest growth.
constexpr std::size_t kMaxGrowth = 28;
constexpr std::size_t kMaxBlocks = 64;

// The lines of `text`, without their line feeds; a last line without one counts too.
std::vector<std::string_view> SplitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        std::size_t lf = text.find('\n');
        lines.push_back(text.substr(0, lf));
        text.remove_prefix(lf == text.npos ? text.size() : lf + 1);
    }
    return lines;
}

}  // namespace

int FuzzCrossLink(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    FuzzProject fuzzed(data[0]);
    std::string source;
    std::string_view input = AsText(data + 1, size - 1);
    for (std::size_t blocks = 0; !input.empty() && blocks < kMaxBlocks; ++blocks) {
        std::size_t nul = input.find('\0');
        std::vector<std::string_view> lines = SplitLines(input.substr(0, nul));
        input.remove_prefix(nul == input.npos ? input.size() : nul + 1);
        // The declaration stands above the block, where a short line would cut it.
        source.append("\n");
        if (!lines.empty()) {
            source.append(lines[0]);
        }
        source.append("\n/**--\nDescription:\n");
        for (std::size_t i = 1; i < lines.size(); ++i) {
            source.append(lines[i]);
            source.push_back('\n');
        }
        source.append("--e*/\n\n");
    }
    fuzzed.Scan(source, "/src/fuzz.cpp");

    PageJob job = fuzzed.Job();
    CrossLink(job);
    for (const ItemList::Slot& item : fuzzed.items) {
        PageText text = DerivePageText(*item, job);
        std::vector<std::size_t> sizesBefore;
        ForEachLinkableLine(text, [&](std::string& line) { sizesBefore.push_back(line.size()); });
        LinkItemText(fuzzed.items, text, item->name);
        std::size_t at = 0;
        ForEachLinkableLine(text, [&](std::string& line) {
            Require(line.size() <= kMaxGrowth * sizesBefore[at++],
                    "a line grew beyond linking each byte once");
        });
    }
    return 0;
}

}  // namespace sylva::fuzz
