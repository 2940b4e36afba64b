#include "engine/rich_json.h"

#include <algorithm>
#include <iterator>
#include <optional>
#include <vector>

#include "scan/rich_text.h"
#include "support/json_text.h"

namespace sylva {

namespace {

using namespace rich;

constexpr char kReferenceStopBytes[] = {kReferenceText, kReferenceClose};
constexpr std::string_view kReferenceStops(kReferenceStopBytes, 2);
constexpr char kImageStopBytes[] = {kReferenceText, kImageClose};
constexpr std::string_view kImageStops(kImageStopBytes, 2);
constexpr std::string_view kFormulaStop(&kFormulaClose, 1);
constexpr std::string_view kAnchorStop(&kAnchorClose, 1);

std::string_view BlockTypeName(BlockKind kind) {
    switch (kind) {
        case BlockKind::kParagraph:
            return "paragraph";
        case BlockKind::kHeading:
            return "heading";
        case BlockKind::kCode:
            return "code";
        case BlockKind::kPreformatted:
            return "preformatted";
        case BlockKind::kBulletList:
            return "bulletList";
        case BlockKind::kOrderedList:
            return "orderedList";
        case BlockKind::kListItem:
            return "listItem";
        case BlockKind::kTable:
            return "table";
        case BlockKind::kRow:
            return "row";
        case BlockKind::kHeaderCell:
            return "headerCell";
        case BlockKind::kCell:
            return "cell";
        case BlockKind::kQuote:
            return "quote";
        case BlockKind::kRule:
            return "rule";
        case BlockKind::kNote:
            return "note";
        case BlockKind::kFormula:
            return "formula";
    }
    return "other";
}

char CloseOf(char open) {
    switch (open) {
        case kCodeOpen:
            return kCodeClose;
        case kBoldOpen:
            return kBoldClose;
        default:
            return kEmphasisClose;
    }
}

std::string_view SpanName(char open) {
    switch (open) {
        case kCodeOpen:
            return "code";
        case kBoldOpen:
            return "bold";
        default:
            return "emphasis";
    }
}

// Writes inline text as JSON nodes. Invariant: `closes` holds the closing bytes of the spans
// open around the current place, innermost last; a closing byte of an outer span ends the inner
// ones too.
class InlineWriter {
  public:
    InlineWriter(std::string_view text, std::string& out, const LinkLookup& lookup)
        : text_(text), out_(out), lookup_(lookup) {}

    void Write() { Nodes('\0'); }

  private:
    bool AtEnd() const { return at_ >= text_.size(); }

    // Plain bytes up to the first of `stops` (not consumed), markup dropped.
    std::string PlainUpTo(std::string_view stops) {
        std::string plain;
        while (!AtEnd() && stops.find(text_[at_]) == std::string_view::npos) {
            const char ch = text_[at_++];
            if (ch == kLiteral) {
                if (!AtEnd()) {
                    plain.push_back(text_[at_++]);
                }
            } else if (!IsReservedByte(ch)) {
                plain.push_back(ch);
            }
        }
        return plain;
    }

    // Consumes `ch` when it stands at the current place.
    bool Take(char ch) {
        if (!AtEnd() && text_[at_] == ch) {
            ++at_;
            return true;
        }
        return false;
    }

    void Separate() {
        if (!first_) {
            out_.push_back(',');
        }
        first_ = false;
    }

    void FlushRun() {
        if (!run_.empty()) {
            Separate();
            AppendJsonString(out_, run_);
            run_.clear();
        }
    }

    bool ClosesOuter(char ch) const {
        for (char close : closes_) {
            if (close == ch) {
                return true;
            }
        }
        return false;
    }

    // The nodes up to `close` (consumed) or the end of the text, as an array.
    void Nodes(char close) {
        const bool outerFirst = first_;
        first_ = true;
        out_.push_back('[');
        closes_.push_back(close);
        while (!AtEnd()) {
            const char ch = text_[at_];
            if (ch == close) {
                ++at_;
                break;
            }
            if (ClosesOuter(ch)) {
                break;  // the outer span's end closes this one
            }
            ++at_;
            switch (ch) {
                case kLiteral:
                    if (!AtEnd()) {
                        run_.push_back(text_[at_++]);
                    }
                    break;
                case kCodeOpen:
                case kBoldOpen:
                case kEmphasisOpen:
                    FlushRun();
                    Separate();
                    out_.push_back('{');
                    AppendJsonString(out_, SpanName(ch));
                    out_.push_back(':');
                    Nodes(CloseOf(ch));
                    out_.push_back('}');
                    break;
                case kReferenceOpen:
                    Reference();
                    break;
                case kImageOpen:
                    Image();
                    break;
                case kFormulaOpen:
                    FlushRun();
                    Separate();
                    out_.append("{\"formula\":").append(JsonString(PlainUpTo(kFormulaStop)));
                    out_.push_back('}');
                    Take(kFormulaClose);
                    break;
                case kAnchorOpen:
                    FlushRun();
                    Separate();
                    out_.append("{\"anchor\":").append(JsonString(PlainUpTo(kAnchorStop)));
                    out_.push_back('}');
                    Take(kAnchorClose);
                    break;
                case kLineBreak:
                    FlushRun();
                    Separate();
                    out_.append("{\"break\":true}");
                    break;
                default:
                    if (!IsReservedByte(ch)) {
                        // Markup bytes are all reserved, so the run of text goes in whole.
                        std::size_t end = at_;
                        while (end < text_.size() && !IsReservedByte(text_[end])) {
                            ++end;
                        }
                        run_.append(text_.substr(at_ - 1, end - at_ + 1));
                        at_ = end;
                    }
            }
        }
        FlushRun();
        closes_.pop_back();
        out_.push_back(']');
        first_ = outerFirst;
    }

    // After kReferenceOpen: the name, where it leads, and the text shown.
    void Reference() {
        FlushRun();
        Separate();
        const std::string name = PlainUpTo(kReferenceStops);
        const std::optional<std::string> target = lookup_ ? lookup_(name) : std::nullopt;
        out_.append("{\"ref\":").append(JsonString(name)).append(",\"target\":");
        out_.append(target ? JsonString(*target) : std::string("null")).append(",\"text\":");
        if (Take(kReferenceText)) {
            Nodes(kReferenceClose);
        } else {
            Take(kReferenceClose);
            out_.append("[").append(JsonString(name)).append("]");
        }
        out_.push_back('}');
    }

    // After kImageOpen: the file (empty when none is shown) and the alt text.
    void Image() {
        FlushRun();
        Separate();
        out_.append("{\"image\":").append(JsonString(PlainUpTo(kImageStops)));
        out_.append(",\"alt\":");
        if (Take(kReferenceText)) {
            Nodes(kImageClose);
        } else {
            Take(kImageClose);
            out_.append("[]");
        }
        out_.push_back('}');
    }

    std::string_view text_;
    std::string& out_;
    const LinkLookup& lookup_;
    std::size_t at_ = 0;
    std::string run_;
    bool first_ = true;
    std::vector<char> closes_;
};

void AppendFlow(std::string& out, std::string_view text, const LinkLookup& lookup);

// Inline text as a paragraph, unless it is only blanks.
void AppendParagraph(std::string& out, std::string_view text, const LinkLookup& lookup,
                     bool& first) {
    if (text.find_first_not_of(" \t\r\n") == std::string_view::npos) {
        return;
    }
    out.append(first ? "" : ",").append("{\"type\":\"paragraph\",\"content\":");
    InlineWriter(text, out, lookup).Write();
    out.push_back('}');
    first = false;
}

void AppendBlock(std::string& out, const Block& block, const LinkLookup& lookup) {
    out.append("{\"type\":");
    AppendJsonString(out, BlockTypeName(block.kind));
    if (!block.argument.empty()) {
        out.append(",\"argument\":");
        AppendJsonString(out, block.argument);
    }
    if (HasLiteralContent(block.kind)) {
        out.append(",\"text\":");
        if (std::any_of(block.content.begin(), block.content.end(), IsReservedByte)) {
            std::string literal;
            std::copy_if(block.content.begin(), block.content.end(), std::back_inserter(literal),
                         [](char ch) { return !IsReservedByte(ch); });
            AppendJsonString(out, literal);
        } else {
            AppendJsonString(out, block.content);
        }
    } else if (block.kind == BlockKind::kParagraph || block.kind == BlockKind::kHeading) {
        out.append(",\"content\":");
        InlineWriter(block.content, out, lookup).Write();
    } else if (block.kind != BlockKind::kRule) {
        out.append(",\"content\":");
        AppendFlow(out, block.content, lookup);
    }
    out.push_back('}');
}

void AppendFlow(std::string& out, std::string_view text, const LinkLookup& lookup) {
    out.push_back('[');
    bool first = true;
    std::size_t at = 0;
    while (at < text.size()) {
        if (text[at] != kBlockOpen) {
            // Inline text between blocks reads as a paragraph of its own.
            const std::size_t end = std::min(text.find(kBlockOpen, at), text.size());
            AppendParagraph(out, text.substr(at, end - at), lookup, first);
            at = end;
            continue;
        }
        const Block block = ReadBlock(text, at);
        out.append(first ? "" : ",");
        AppendBlock(out, block, lookup);
        first = false;
        at = std::max(block.end, at + 1);
    }
    out.push_back(']');
}

}  // namespace

void AppendRichJson(std::string& out, std::string_view text, const LinkLookup& lookup) {
    AppendFlow(out, text, lookup);
}

}  // namespace sylva
