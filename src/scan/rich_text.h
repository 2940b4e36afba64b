// Rich text: documentation text with its structure and inline markup in a neutral form. The
// readers of comments write it; only the HTML output turns it into tags (html/rich_text.h), so
// the scan writes no HTML.
//
// The markup is made of control bytes that cannot survive from a source: a reader replaces every
// such byte of comment text by a space (AppendStripped) before it adds markup of its own.
// Everything else in rich text is text as the author wrote it, HTML tags and entities included;
// the renderer decides which of those stay tags.
//
// A rich text is a flow: blocks (paragraphs, lists, tables, code, ...) one after the other, or,
// in its simplest form, inline text alone, which reads as one paragraph.
//
// Inline forms:
//   kCodeOpen text kCodeClose               code (likewise bold and emphasis); spans may nest
//   kReferenceOpen name kReferenceClose     a reference to the item `name`, shown as its name
//   kReferenceOpen name kReferenceText text kReferenceClose
//                                           the same, shown as `text` (which may hold spans)
//   kImageOpen file kReferenceText alt kImageClose
//                                           an image: a file beside the pages or a web address
//                                           (empty when none was found: the alt text shows)
//   kFormulaOpen tex kFormulaClose          a formula, its TeX source literal
//   kAnchorOpen label kAnchorClose          a place a reference may lead to
//   kLineBreak                              a line break inside a paragraph
//   kLiteral byte                           that one byte is text, never markup or a tag; a
//                                           word that begins so is no name to link ("%word")
//
// Block form: kBlockOpen kind argument kArgumentEnd content kBlockClose, where `kind` is one byte
// of BlockKind and `argument` plain text whose meaning the kind gives. The content of a code or
// formula block is literal text (line feeds kept); that of a row holds cells, of a list items,
// of a table rows, of the others a flow.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace sylva::rich {

inline constexpr char kCodeOpen = '\x01';
inline constexpr char kCodeClose = '\x02';
inline constexpr char kBoldOpen = '\x03';
inline constexpr char kBoldClose = '\x04';
inline constexpr char kEmphasisOpen = '\x05';
inline constexpr char kEmphasisClose = '\x06';
inline constexpr char kReferenceOpen = '\x0E';
inline constexpr char kReferenceText = '\x0F';
inline constexpr char kReferenceClose = '\x10';
inline constexpr char kLiteral = '\x12';
inline constexpr char kBlockOpen = '\x13';
inline constexpr char kArgumentEnd = '\x14';
inline constexpr char kBlockClose = '\x15';
inline constexpr char kImageOpen = '\x16';
inline constexpr char kImageClose = '\x17';
inline constexpr char kFormulaOpen = '\x18';
inline constexpr char kFormulaClose = '\x19';
inline constexpr char kAnchorOpen = '\x1A';
inline constexpr char kAnchorClose = '\x1B';
inline constexpr char kLineBreak = '\x1C';

enum class BlockKind : char {
    kParagraph = 'P',
    kHeading = 'H',       // argument: the level (1 to 6), a blank and the anchor label, if any
    kCode = 'C',          // argument: the language word, if any; content literal
    kPreformatted = 'V',  // the author's <pre> text: a flow whose line feeds and blanks stay
    kBulletList = 'U',    // content: list items
    kOrderedList = 'O',   // argument: the first number; content: list items
    kListItem = 'I',
    kTable = 'T',       // argument: "retval" for a table of return values; content: rows
    kRow = 'R',         // content: cells
    kHeaderCell = 'h',  // argument: "left", "center", "right" or empty
    kCell = 'd',        // the same
    kQuote = 'Q',
    kRule = '-',
    kNote = 'N',     // argument: the note's kind word, a blank, the label shown ("warning Warning")
    kFormula = 'F',  // a formula shown on its own; content literal TeX
};

// True iff `ch` is a byte a source may not bring into rich text: every control byte except tab,
// line feed and carriage return (0x00 to 0x08, 0x0B, 0x0C, 0x0E to 0x1F). The markup bytes are
// among them.
inline bool IsReservedByte(char ch) {
    unsigned char byte = static_cast<unsigned char>(ch);
    return byte < 0x20 && byte != '\t' && byte != '\n' && byte != '\r';
}

// Appends `text` to `out` with every reserved byte replaced by a space.
inline void AppendStripped(std::string& out, std::string_view text) {
    for (char ch : text) {
        out.push_back(IsReservedByte(ch) ? ' ' : ch);
    }
}

// Appends the opening of a block of `kind` with `argument` (reserved bytes stripped).
inline void OpenBlock(std::string& out, BlockKind kind, std::string_view argument = {}) {
    out.push_back(kBlockOpen);
    out.push_back(static_cast<char>(kind));
    AppendStripped(out, argument);
    out.push_back(kArgumentEnd);
}

inline void CloseBlock(std::string& out) {
    out.push_back(kBlockClose);
}

// True iff the flow `text` begins with a block.
inline bool StartsWithBlock(std::string_view text) {
    return !text.empty() && text.front() == kBlockOpen;
}

// True iff the content of a block of `kind` is literal text.
inline bool HasLiteralContent(BlockKind kind) {
    return kind == BlockKind::kCode || kind == BlockKind::kFormula;
}

// A block read at some place of a flow.
struct Block {
    BlockKind kind = BlockKind::kParagraph;
    std::string_view argument;
    std::string_view content;
    std::size_t end = 0;  // the place behind its kBlockClose
};

// The block that opens at text[at] (a kBlockOpen). A block left open runs to the end of `text`.
Block ReadBlock(std::string_view text, std::size_t at);

// The inline text of a flow: the inline text of its paragraphs, headings, notes and cells, each
// set apart by a blank; code, formula and rule blocks left out. An inline text stays as it is.
std::string InlineText(std::string_view flow);

}  // namespace sylva::rich
