// The second pass over a documentation comment: a chunk of Markdown into rich text blocks, with
// md4c, a Markdown parser that reports blocks, spans and text to callbacks as it reads its buffer.
//
// md4c reads CommonMark with GitHub's pipe tables and bare web addresses; HTML is read as inline
// tags only (no HTML blocks), so that Markdown and commands inside the author's HTML table cells
// are read as Doxygen reads them. Text md4c found escaped ("\@", "\<") reaches the inline pass as
// kLiteral and the byte, so that no escaped byte becomes a command, a tag or an entity.
#include <md4c.h>

#include <algorithm>
#include <optional>
#include <string>

#include "scan/doxygen/comment_parser.h"
#include "scan/rich_text.h"
#include "support/zt_string.h"

namespace sylva::doxygen_parse {

namespace {

constexpr unsigned kMarkdownFlags =
    MD_FLAG_TABLES | MD_FLAG_NOHTMLBLOCKS | MD_FLAG_PERMISSIVEURLAUTOLINKS;
// Blocks nested deeper than this (a list 200 levels deep) are not opened: their text joins the
// block around them, so that no input can make the blocks' nesting, and the work on it, deep.
constexpr int kMaxDepth = 32;
constexpr std::string_view kFormulaWord = "formula";
constexpr std::string_view kPreformattedWord = "pre";

bool IsAsciiPunctuation(char ch) {
    return (ch >= '!' && ch <= '/') || (ch >= ':' && ch <= '@') || (ch >= '[' && ch <= '`') ||
           (ch >= '{' && ch <= '~');
}

// An attribute of md4c (a link's address, a fence's info) as text: its character references
// decoded where they spell plain ASCII, kept as written otherwise.
std::string AttributeText(const MD_ATTRIBUTE& attribute) {
    std::string text;
    if (attribute.size == 0 || attribute.text == nullptr) {
        return text;
    }
    for (unsigned i = 0; attribute.substr_offsets[i] < attribute.size; ++i) {
        std::string_view part(attribute.text + attribute.substr_offsets[i],
                              attribute.substr_offsets[i + 1] - attribute.substr_offsets[i]);
        if (attribute.substr_types[i] == MD_TEXT_NULLCHAR) {
            continue;
        }
        if (attribute.substr_types[i] != MD_TEXT_ENTITY) {
            text.append(part);
            continue;
        }
        std::string_view name = part.substr(1, part.size() - 2);
        char decoded = '\0';
        if (name == "amp") {
            decoded = '&';
        } else if (name == "lt") {
            decoded = '<';
        } else if (name == "gt") {
            decoded = '>';
        } else if (name == "quot") {
            decoded = '"';
        } else if (name.starts_with('#')) {
            bool hex = name.size() > 1 && (name[1] == 'x' || name[1] == 'X');
            unsigned long value = 0;
            for (char ch : name.substr(hex ? 2 : 1)) {
                int digit = ch >= '0' && ch <= '9'          ? ch - '0'
                            : hex && ch >= 'a' && ch <= 'f' ? ch - 'a' + 10
                            : hex && ch >= 'A' && ch <= 'F' ? ch - 'A' + 10
                                                            : -1;
                value = digit < 0 || value > 0xFFFF ? 0x10000 : value * (hex ? 16 : 10) + digit;
            }
            decoded = value > 0 && value < 0x80 ? static_cast<char>(value) : '\0';
        }
        if (decoded != '\0') {
            text.push_back(decoded);
        } else {
            text.append(part);
        }
    }
    std::string plain;
    rich::AppendStripped(plain, text);
    return plain;
}

class MarkdownReader {
  public:
    MarkdownReader(std::string_view chunk, CommentParser& parser,
                   std::vector<std::size_t>& blockEnds)
        : chunk_(chunk), parser_(parser), blockEnds_(blockEnds) {}

    std::string Read() {
        MD_PARSER markdown{};
        markdown.flags = kMarkdownFlags;
        markdown.enter_block = [](MD_BLOCKTYPE type, void* detail, void* self) {
            return static_cast<MarkdownReader*>(self)->EnterBlock(type, detail);
        };
        markdown.leave_block = [](MD_BLOCKTYPE type, void*, void* self) {
            return static_cast<MarkdownReader*>(self)->LeaveBlock(type);
        };
        markdown.enter_span = [](MD_SPANTYPE type, void* detail, void* self) {
            return static_cast<MarkdownReader*>(self)->EnterSpan(type, detail);
        };
        markdown.leave_span = [](MD_SPANTYPE type, void*, void* self) {
            return static_cast<MarkdownReader*>(self)->LeaveSpan(type);
        };
        markdown.text = [](MD_TEXTTYPE type, const MD_CHAR* text, MD_SIZE size, void* self) {
            return static_cast<MarkdownReader*>(self)->Text(type, std::string_view(text, size));
        };
        md_parse(chunk_.data(), static_cast<MD_SIZE>(chunk_.size()), &markdown, this);
        FlushText();
        return std::move(out_);
    }

  private:
    // What a span of md4c became, for its end.
    enum class SpanKind { kPendingCode, kCode, kFormula, kBold, kEmphasis, kLink, kImage, kNone };

    int EnterBlock(MD_BLOCKTYPE type, void* detail);
    int LeaveBlock(MD_BLOCKTYPE type);
    int EnterSpan(MD_SPANTYPE type, void* detail);
    int LeaveSpan(MD_SPANTYPE type);
    int Text(MD_TEXTTYPE type, std::string_view text);
    void Open(rich::BlockKind kind, std::string_view argument = {});
    void Close();
    // Hands the plain text over to the inline pass; `spanFollows`: a span comes next, which a
    // command at the text's end ("@c `x`") formats.
    void FlushText(bool spanFollows = false);
    void AppendText(std::string_view text);
    // True iff `text` is a part of the chunk (md4c hands some texts over from elsewhere).
    bool InChunk(std::string_view text) const {
        const char* begin = chunk_.data();
        return text.data() >= begin && text.data() < begin + chunk_.size();
    }
    // True iff md4c hands over `text` as the byte behind a backslash escape.
    bool Escaped(std::string_view text) const {
        return text.size() == 1 && InChunk(text) && text.data() > chunk_.data() &&
               text.data()[-1] == '\\' && IsAsciiPunctuation(text[0]);
    }

    std::string_view chunk_;
    CommentParser& parser_;
    std::vector<std::size_t>& blockEnds_;
    std::string out_;
    // Plain text waiting for the inline pass, and the source lines its bytes stand on.
    std::string text_;
    CommentParser::TextLines textLines_;
    // Open blocks: true for each one opened in out_, false for one past kMaxDepth.
    std::vector<bool> blocks_;
    int depth_ = 0;
    std::vector<SpanKind> spans_;
    bool inCode_ = false;
    // The name of the last link opened and where its text starts.
    std::string linkName_;
    std::size_t linkText_ = 0;
    int imageDepth_ = 0;
    std::string imageFile_;
    std::string imageAlt_;
    int imageLine_ = 0;
};

void MarkdownReader::Open(rich::BlockKind kind, std::string_view argument) {
    FlushText();
    bool opened = depth_ < kMaxDepth;
    if (opened) {
        rich::OpenBlock(out_, kind, argument);
        ++depth_;
    }
    blocks_.push_back(opened);
}

void MarkdownReader::Close() {
    FlushText();
    parser_.EndInline(out_);
    if (!blocks_.empty()) {
        if (blocks_.back()) {
            rich::CloseBlock(out_);
            if (--depth_ == 0) {
                blockEnds_.push_back(out_.size());
            }
        } else {
            out_.push_back(' ');
        }
        blocks_.pop_back();
    }
}

void MarkdownReader::FlushText(bool spanFollows) {
    if (!text_.empty()) {
        parser_.InlineText(text_, out_, &textLines_, spanFollows);
        text_.clear();
    }
    textLines_.clear();
}

void MarkdownReader::AppendText(std::string_view text) {
    if (InChunk(text)) {
        int line = parser_.ChunkLine(static_cast<std::size_t>(text.data() - chunk_.data()));
        if (textLines_.empty() || textLines_.back().second != line) {
            textLines_.emplace_back(text_.size(), line);
        }
    }
    text_.append(text);
}

int MarkdownReader::EnterBlock(MD_BLOCKTYPE type, void* detail) {
    using rich::BlockKind;
    switch (type) {
        case MD_BLOCK_DOC:
        case MD_BLOCK_THEAD:
        case MD_BLOCK_TBODY:
        case MD_BLOCK_HTML:
            break;
        case MD_BLOCK_QUOTE:
            Open(BlockKind::kQuote);
            break;
        case MD_BLOCK_UL:
            Open(BlockKind::kBulletList);
            break;
        case MD_BLOCK_OL:
            Open(BlockKind::kOrderedList,
                 std::to_string(static_cast<MD_BLOCK_OL_DETAIL*>(detail)->start));
            break;
        case MD_BLOCK_LI:
            Open(BlockKind::kListItem);
            break;
        case MD_BLOCK_HR:
            Open(BlockKind::kRule);
            break;
        case MD_BLOCK_H:
            Open(BlockKind::kHeading,
                 std::to_string(static_cast<MD_BLOCK_H_DETAIL*>(detail)->level));
            break;
        case MD_BLOCK_CODE: {
            std::string info = AttributeText(static_cast<MD_BLOCK_CODE_DETAIL*>(detail)->info);
            const MD_ATTRIBUTE& raw = static_cast<MD_BLOCK_CODE_DETAIL*>(detail)->info;
            std::string_view written(raw.text == nullptr ? "" : raw.text, raw.size);
            bool marked = written.starts_with(kChunkMark);
            std::string_view word = TrimView(std::string_view(written).substr(marked ? 1 : 0), " ");
            if (marked && word == kFormulaWord) {
                Open(BlockKind::kFormula);
            } else if (marked && word == kPreformattedWord) {
                Open(BlockKind::kPreformatted);
            } else {
                Open(BlockKind::kCode, info.substr(0, info.find_first_of(" \t{")));
            }
            inCode_ = true;
            break;
        }
        case MD_BLOCK_P:
            Open(BlockKind::kParagraph);
            break;
        case MD_BLOCK_TABLE:
            Open(BlockKind::kTable);
            break;
        case MD_BLOCK_TR:
            Open(BlockKind::kRow);
            break;
        case MD_BLOCK_TH:
        case MD_BLOCK_TD: {
            MD_ALIGN align = static_cast<MD_BLOCK_TD_DETAIL*>(detail)->align;
            std::string_view argument = align == MD_ALIGN_LEFT     ? "left"
                                        : align == MD_ALIGN_CENTER ? "center"
                                        : align == MD_ALIGN_RIGHT  ? "right"
                                                                   : "";
            Open(type == MD_BLOCK_TH ? BlockKind::kHeaderCell : BlockKind::kCell, argument);
            break;
        }
    }
    return 0;
}

int MarkdownReader::LeaveBlock(MD_BLOCKTYPE type) {
    switch (type) {
        case MD_BLOCK_DOC:
        case MD_BLOCK_THEAD:
        case MD_BLOCK_TBODY:
        case MD_BLOCK_HTML:
            return 0;
        case MD_BLOCK_CODE:
            inCode_ = false;
            break;
        default:
            break;
    }
    Close();
    return 0;
}

int MarkdownReader::EnterSpan(MD_SPANTYPE type, void* detail) {
    if (imageDepth_ > 0) {
        // Inside an image's alt text spans are plain text.
        imageDepth_ += type == MD_SPAN_IMG ? 1 : 0;
        spans_.push_back(type == MD_SPAN_IMG ? SpanKind::kImage : SpanKind::kNone);
        return 0;
    }
    FlushText(true);
    switch (type) {
        case MD_SPAN_EM:
            out_.push_back(rich::kEmphasisOpen);
            spans_.push_back(SpanKind::kEmphasis);
            break;
        case MD_SPAN_STRONG:
            out_.push_back(rich::kBoldOpen);
            spans_.push_back(SpanKind::kBold);
            break;
        case MD_SPAN_CODE:
            // Code or a formula: its text tells.
            spans_.push_back(SpanKind::kPendingCode);
            break;
        case MD_SPAN_A: {
            const MD_ATTRIBUTE& href = static_cast<MD_SPAN_A_DETAIL*>(detail)->href;
            std::string target = AttributeText(href);
            const bool web = target.find("://") != std::string::npos;
            const std::string_view written(href.text == nullptr ? "" : href.text, href.size);
            const int line =
                InChunk(written)
                    ? parser_.ChunkLine(static_cast<std::size_t>(written.data() - chunk_.data()))
                    : 0;
            std::optional<std::string> local = web ? std::nullopt : parser_.LinkName(target, line);
            if (local && local->empty()) {
                // A link that is not followed: its text stays.
                spans_.push_back(SpanKind::kNone);
                break;
            }
            out_.push_back(rich::kReferenceOpen);
            linkName_ = local ? *local : web ? target : ReferenceName(target);
            out_ += linkName_;
            out_.push_back(rich::kReferenceText);
            linkText_ = out_.size();
            spans_.push_back(SpanKind::kLink);
            break;
        }
        case MD_SPAN_IMG:
            imageFile_ = AttributeText(static_cast<MD_SPAN_IMG_DETAIL*>(detail)->src);
            imageAlt_.clear();
            imageLine_ = 0;
            imageDepth_ = 1;
            spans_.push_back(SpanKind::kImage);
            break;
        default:
            spans_.push_back(SpanKind::kNone);
            break;
    }
    return 0;
}

int MarkdownReader::LeaveSpan(MD_SPANTYPE) {
    if (spans_.empty()) {
        return 0;
    }
    SpanKind kind = spans_.back();
    spans_.pop_back();
    if (imageDepth_ > 0 && kind != SpanKind::kImage) {
        return 0;
    }
    FlushText();
    switch (kind) {
        case SpanKind::kPendingCode:
            out_.push_back(rich::kCodeOpen);
            out_.push_back(rich::kCodeClose);
            break;
        case SpanKind::kCode:
            out_.push_back(rich::kCodeClose);
            break;
        case SpanKind::kFormula:
            out_.push_back(rich::kFormulaClose);
            break;
        case SpanKind::kBold:
            out_.push_back(rich::kBoldClose);
            break;
        case SpanKind::kEmphasis:
            out_.push_back(rich::kEmphasisClose);
            break;
        case SpanKind::kLink:
            if (linkText_ <= out_.size() && std::string_view(out_).substr(linkText_) == linkName_) {
                // A bare web address: the reference shows its name.
                out_.resize(linkText_ - 1);
            }
            out_.push_back(rich::kReferenceClose);
            break;
        case SpanKind::kImage:
            if (--imageDepth_ == 0) {
                out_.push_back(rich::kImageOpen);
                rich::AppendStripped(out_, parser_.ImageFile(imageFile_, imageLine_));
                out_.push_back(rich::kReferenceText);
                rich::AppendStripped(out_, imageAlt_);
                out_.push_back(rich::kImageClose);
            }
            break;
        case SpanKind::kNone:
            break;
    }
    return 0;
}

int MarkdownReader::Text(MD_TEXTTYPE type, std::string_view text) {
    if (imageDepth_ > 0) {
        if (type != MD_TEXT_NULLCHAR) {
            imageAlt_.append(type == MD_TEXT_SOFTBR || type == MD_TEXT_BR ? " " : text);
        }
        if (imageLine_ == 0 && InChunk(text)) {
            imageLine_ = parser_.ChunkLine(static_cast<std::size_t>(text.data() - chunk_.data()));
        }
        return 0;
    }
    switch (type) {
        case MD_TEXT_NORMAL:
            if (Escaped(text)) {
                text_.push_back(rich::kLiteral);
            }
            AppendText(text);
            break;
        case MD_TEXT_NULLCHAR:
            break;
        case MD_TEXT_BR:
            text_.push_back(rich::kLineBreak);
            break;
        case MD_TEXT_SOFTBR:
            text_.push_back(' ');
            break;
        case MD_TEXT_CODE: {
            if (inCode_) {
                rich::AppendStripped(out_, text);
                break;
            }
            FlushText();
            if (!spans_.empty() && spans_.back() == SpanKind::kPendingCode) {
                bool formula = text.starts_with(kChunkMark);
                spans_.back() = formula ? SpanKind::kFormula : SpanKind::kCode;
                out_.push_back(formula ? rich::kFormulaOpen : rich::kCodeOpen);
                text.remove_prefix(formula ? 1 : 0);
            }
            AppendCodeBytes(out_, text, !spans_.empty() && spans_.back() == SpanKind::kFormula);
            break;
        }
        case MD_TEXT_HTML:
        case MD_TEXT_ENTITY:
            FlushText();
            rich::AppendStripped(out_, text);
            break;
        default:
            text_.append(text);
            break;
    }
    return 0;
}

}  // namespace

void AppendCodeBytes(std::string& out, std::string_view code, bool formula) {
    for (char ch : code) {
        // Code shows its bytes: no tag, no entity.
        if ((ch == '<' || ch == '&') && !formula) {
            out.push_back(rich::kLiteral);
        }
        out.push_back(rich::IsReservedByte(ch) ? ' ' : ch);
    }
}

void AppendCodeSpan(std::string& out, std::string_view code) {
    const bool formula = code.starts_with(kChunkMark);
    out.push_back(formula ? rich::kFormulaOpen : rich::kCodeOpen);
    AppendCodeBytes(out, code.substr(formula ? 1 : 0), formula);
    out.push_back(formula ? rich::kFormulaClose : rich::kCodeClose);
}

std::string ReadMarkdown(std::string_view chunk, CommentParser& parser,
                         std::vector<std::size_t>& blockEnds) {
    return MarkdownReader(chunk, parser, blockEnds).Read();
}

}  // namespace sylva::doxygen_parse
