// Fuzzing the cross-linking of item names: an input is a sequence of blocks separated by NUL
// bytes; the first line of a block is its declaration, the other lines its description. The
// items built from them are cross-linked; every line must stay within the size that linking each
// of its bytes at most once allows.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/scan_source.h"
#include "fuzz_support.h"
#include "fuzz_targets.h"
#include "scan/syl_item.h"

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
    CZTScanSource generator;
    PrepareRun(generator, data[0]);
    std::string_view input = AsText(data + 1, size - 1);
    while (!input.empty() && generator.items.size() < kMaxBlocks) {
        std::size_t nul = input.find('\0');
        std::vector<std::string_view> lines = SplitLines(input.substr(0, nul));
        input.remove_prefix(nul == input.npos ? input.size() : nul + 1);
        CZTStringArray blockLines;
        blockLines.Add("Description:");
        for (std::size_t i = 1; i < lines.size(); ++i) {
            blockLines.Add(std::string(lines[i]));
        }
        std::string declaration(lines.empty() ? std::string_view() : lines[0]);
        generator.AddItem(
            std::make_unique<CSylItem>(&generator, std::move(declaration), blockLines, CZTTime(0)));
    }
    generator.SortItems();

    std::vector<std::size_t> sizesBefore;
    for (const auto& item : generator.items) {
        for (const CZTStringArray& section : item->Details().sections) {
            for (const std::string& line : section) {
                sizesBefore.push_back(line.size());
            }
        }
    }
    generator.CrossLinkSections();
    std::size_t at = 0;
    for (const auto& item : generator.items) {
        for (const CZTStringArray& section : item->Details().sections) {
            for (const std::string& line : section) {
                Require(line.size() <= kMaxGrowth * sizesBefore[at++],
                        "a line grew beyond linking each byte once");
            }
        }
    }
    return 0;
}

}  // namespace sylva::fuzz
