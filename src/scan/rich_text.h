// Rich text: documentation text with inline markup in a neutral form. The readers of comments
// write it; only the HTML output turns it into tags (html/rich_text.h), so the scan writes no HTML.
//
// The markup is made of control bytes that cannot survive from a source: a reader replaces every
// such byte of comment text by a space (StripMarkupBytes) before it adds markup of its own.
// Everything else in rich text is text as the author wrote it, HTML tags and entities included;
// the renderer decides which of those stay tags.
//
// Forms:
//   kCodeOpen text kCodeClose               code (likewise bold and emphasis); spans may nest
//   kReferenceOpen name kReferenceClose     a reference to the item `name`, shown as its name
//   kReferenceOpen name kReferenceText text kReferenceClose
//                                           the same, shown as `text` (which may hold spans)
//   kPreformattedLine text                  at the start of a text only: one line of a
//                                           pre-formatted block, every byte of `text` literal
//   kLiteral byte                           that one byte is text, never markup or a tag
#pragma once

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
inline constexpr char kPreformattedLine = '\x11';
inline constexpr char kLiteral = '\x12';

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

// True iff `text` is one pre-formatted line.
inline bool IsPreformattedLine(std::string_view text) {
    return !text.empty() && text.front() == kPreformattedLine;
}

}  // namespace sylva::rich
