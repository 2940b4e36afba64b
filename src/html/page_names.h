// The names of a project's files, and how a name stands in a link: the one place of the
// page-name rules, so that every page is written where every link to it leads.
#pragma once

#include <string>
#include <string_view>

#include "html/html.h"

namespace sylva {

// The longest file name the usual file systems take, in bytes.
inline constexpr std::size_t kMaxFileNameBytes = 255;

// `name` with every character that may not stand in a file name replaced by "_". For a name of
// the doxygen style only ":" becomes "_" (a scope reads "A__B"), and every other such character
// "_" and its two hex digits, so that the operators of one class ("operator*=" and "operator/=",
// "operator<" and "operator>") keep pages of their own.
std::string SafeFileName(std::string_view name, CommentStyle style = CommentStyle::kSylva);

// "SYLVA_<safe name>.html": the plain page of a name, which the first item of that name gets.
// Links by name (See also, quoted names, references) lead here.
std::string PlainPageFile(std::string_view name, CommentStyle style = CommentStyle::kSylva);
// The page of `item`: its plain page, or "SYLVA_<safe name>_<number>.html", the number with at
// least three digits. A group of the doxygen style is named by its label instead of its title,
// behind "group_" ("SYLVA_group_<safe label>.html"), so that its address stays short and stable
// when the title changes, and apart from the page of an item named like the label.
//
// A page name longer than kMaxFileNameBytes could not be written: it is shortened to the longest
// prefix of the safe name that fits, "-" and sixteen hex digits of a hash of the whole page name,
// then its ending. The shortened name is the same in every run and differs for different names;
// names that fit keep their bytes exactly.
std::string PageFile(const CSylItem& item);
// "<project directory>/<page file>".
std::string PagePath(const Project& project, const CSylItem& item);

// The project's own pages, by its directory name: the project index "<dir>.HTML", the index frame
// "<dir>_frameidx.HTML" and the frame set "<dir>_frame.HTML" (upper-case extensions).
std::string ProjectIndexFile(std::string_view directoryName);
std::string FrameIndexFile(std::string_view directoryName);
std::string FrameSetFile(std::string_view directoryName);
// The class hierarchy page of the doxygen style, "<dir>_hierarchy.HTML".
std::string HierarchyFile(std::string_view directoryName);

// `fileName` as a link target: bytes above 127 and '&' become %XX escapes. A browser reads a
// raw non-ASCII byte through the page's encoding and asks for other bytes, and "&name" in an
// attribute can read as a character reference; the escaped form reaches the file's exact bytes.
std::string LinkTarget(std::string_view fileName);

}  // namespace sylva
