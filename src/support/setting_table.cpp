#include "support/setting_table.h"

#include <algorithm>
#include <span>

namespace sylva {

// clang-format off
const std::array<SettingDefinition, kSettingCount> kSettingDefinitions = {{
    {"SYL_DOC_BLOCK_START",
     "/**--|/**==|/**//|''--|''**|''//"},
    {"SYL_DOC_BLOCK_END",
     "--e*/|==e*/|//e*/|''e*"},
    {"SYL_Q_SYNTAX",
     "Syntax:"},
    {"SYL_Q_CONTENT",
     "Content:"},
    {"SYL_Q_CONTENT_SEE",
     "Content|Inhalt|Items"},
    {"SYL_Q_SECTION_SEE",
     "Section|Gruppe|Group|Group of function|Depart"},
    {"SYL_Q_TYPE",
     "Doc type:"},
    {"SYL_Q_TYPE_SEE",
     "Doc type|Doctype|Type|Kind of|Access type|Access|Zugriff|Freigabe"},
    {"SYL_Q_DESCRIPTION",
     "Description"},
    {"SYL_Q_DESCRIPTION_SEE",
     "Description|Beschreibung"},
    {"SYL_Q_PARAMETER",
     "Parameter:"},
    {"SYL_Q_PARAMETER_SEE",
     "Parameter|Param|Params|Parm"},
    {"SYL_Q_ATTENTION",
     "Attention:"},
    {"SYL_Q_ATTENTION_SEE",
     "Attention|Achtung|Besonderes"},
    {"SYL_Q_REMARK",
     "Remarks:"},
    {"SYL_Q_REMARK_SEE",
     "Remark|Remarks|Note|Bemerkungen|Bemerkung"},
    {"SYL_Q_RETURN",
     "Return:"},
    {"SYL_Q_RETURN_SEE",
     "Return|R\xFC""ckgabe|Rueckgabe"},
    {"",
     "Throws:"},
    {"SYL_Q_THROWS_SEE",
     "Throws|Throw|Exception"},
    {"SYL_Q_EXAMPLE",
     "Examples:"},
    {"SYL_Q_EXAMPLE_SEE",
     "Example|Beispiel|Beispiele"},
    {"SYL_Q_AUTHOR",
     "Author:"},
    {"SYL_Q_AUTHOR_SEE",
     "Author|Autor"},
    {"SYL_Q_COPYRIGHT",
     "Copyright:"},
    {"SYL_Q_COPYRIGHT_SEE",
     "Copyright"},
    {"SYL_Q_VERSION",
     "Version:"},
    {"SYL_Q_VERSION_SEE",
     "Version"},
    {"SYL_Q_HISTORY",
     "History:"},
    {"SYL_Q_HISTORY_SEE",
     "History|Legende"},
    {"SYL_Q_REQUEST",
     "Request:"},
    {"SYL_Q_REQUEST_SEE",
     "Request|Anforderungen|Einschr\xE4""nkung|Einschr\xE4""nkungen"},
    {"SYL_Q_SOURCE",
     "Source:"},
    {"SYL_Q_SOURCE_SEE",
     "Source|Quelle"},
    {"SYL_Q_SEEALSO",
     "See also:"},
    {"SYL_Q_SEEALSO_SEE",
     "See also|Siehe auch"},
    {"SYL_Q_PARAM_LOOK_THERE",
     "SEE BELOW|SEE ABOVE|SEE DECLARATION|SEE FUNCTION|SIEHE FUNKTION|SIEHE OBEN|SIEHE UNTEN"},
    {"SYL_Q_HTML_INDEX_BEGIN",
     "<!-- ##### BEGIN OF SYLVA INDEX ##### -->"},
    {"SYL_Q_HTML_INDEX_END",
     "<!-- ##### END OF SYLVA INDEX ##### -->"},
    {"SYL_TYPE_PUBLIC_S",
     "PUBLIC"},
    {"SYL_TYPE_EXPORT_S",
     "EXPORT"},
    {"SYL_TYPE_PRIVATE_S",
     "PRIVATE"},
    {"SYL_TYPE_CONSTRUCTOR_S",
     "CONSTRUCTOR"},
    {"SYL_TYPE_DESTRUCTOR_S",
     "DESTRUCTOR"},
    {"SYL_TYPE_PROTECTED_S",
     "PROTECTED"},
    {"SYL_TYPE_HELPER_S",
     "HELPER"},
    {"SYL_TYPE_INTERNAL_S",
     "INTERNAL"},
    {"SYL_STD_FONT_HEADER",
     "\"Arial\""},
    {"SYL_STD_FONT_TEXT",
     "\"Lucida Console\""},
    {"SYL_HTML_MS_INDEX_FILE_START",
     "<html>\n"
     "<head>\n"
     "<title>[HtmlTitle]</title>\n"
     "</head>\n"
     "<body><basefont size=2>\n"
     "\n"
     "<p>\n"
     "<big><font face=[Font]><strong><big>[FncTitle]</big></strong></font></big>\n"
     "</p>\n"
     "<HR>\n"
     "<table border=\"0\" width=\"100%\">\n"
     "[IndexBegin]"},
    {"SYL_HTML_MS_STD_LINK",
     "<!--[LinkName]--><tr><td width=\"30%\" valign=\"top\" align=\"left\"><font face=[Font]><a href=\"[LinkedFile]\">[LinkName]</a></font></td><td valign=\"top\" align=\"left\" width=\"70%\"><font face=[Font]>[ShortDesc]</font></td></tr><!--DESC:[LinkName];[LinkedFile];[ShortDesc]DESCEND-->"},
    {"SYL_HTML_MS_INDEX_FILE_END",
     "[IndexEnd]\n"
     "</table>\n"
     "<hr><align=\"right\"><small><font face=[Font]>Last update: [DateTime]</font></small></p>\n"
     "</body>\n"
     "</html>"},
    {"SYL_HTML_INDEX_FILE_START",
     "<html>\n"
     "<head>\n"
     "<title>[HtmlTitle]</title>\n"
     "</head>\n"
     "<body><basefont size=2>\n"
     "\n"
     "<table border=\"0\" width=\"100%\">\n"
     "  <tr><td width=\"40%\" valign=\"top\" align=\"left\"><big><font face=[Font]><strong><big>[FncTitle]</big></strong></font></big></td><td valign=\"top\" align=\"right\" width=\"60%\"><font face=[Font]>[ShortDesc]</font></td></tr>\n"
     "</table>\n"
     "<HR>\n"
     "\n"
     "<table border=\"0\" width=\"100%\">\n"
     "[IndexBegin]\n"},
    {"SYL_HTML_INDEX_FILE_FRAME_START",
     "<html>\n"
     "<head>\n"
     "    <title>[HtmlTitle]</title>\n"
     "\t<script language=\"JavaScript\">\n"
     "\t\tfunction OpenLink()\n"
     "\t\t{\n"
     "            parent.Details.location.href=document.FormList.IndexList.options[document.FormList.IndexList.selectedIndex].value;\n"
     "        }//OpenLink\n"
     "    </script>\n"
     "</head>\n"
     "<body><basefont size=2>\n"
     "    <table border=\"0\" width=\"100%\">\n"
     "        <tr>\n"
     "            <td width=\"80%\" valign=\"top\" align=\"left\">\n"
     "                <big>\n"
     "                    <font face=[Font]>\n"
     "                        <strong>\n"
     "                            <big>[FncTitle]</big>\n"
     "                        </strong>\n"
     "                    </font>\n"
     "                </big>\n"
     "            </td>\n"
     "\n"
     "            <td width=\"20%\" valign=\"top\" align=\"right\">\n"
     "                <small>\n"
     "                    <a href=\"[LinkedFile]\" target=\"_top\">\n"
     "                        <font face=[Font]>back</font>\n"
     "                    </a>\n"
     "                </small>\n"
     "            </td>\n"
     "        </tr>\n"
     "    </table>\n"
     "\n"
     "    <HR>\n"
     "\n"
     "    <form name=\"FormList\">\n"
     "        <select name=\"IndexList\" size=1>\n"
     "            [ListSearchEntries]"},
    {"SYL_HTML_STD_INDEX_LINK",
     "  <tr><td width=\"30%\" valign=\"top\" align=\"left\">&nbsp;&nbsp;&nbsp;<a href=\"[LinkedFile]\"><font face=[Font]>[LinkName]</font></a></td><td valign=\"top\" align=\"left\" width=\"70%\"><font face=[Font]>[ShortDesc]</font></td></tr>\n"},
    {"SYL_HTML_STD_INDEX_LINK_GROUP",
     "  <tr><td width=\"30%\" valign=\"top\" align=\"left\"><font face=[Font] size=+1>[LinkName]</font></td><td valign=\"top\" align=\"left\" width=\"70%\">&nbsp</td></tr>\n"},
    {"SYL_HTML_STD_INDEX_LINK_GIF",
     "  <tr><td width=\"30%\" valign=\"top\" align=\"left\">&nbsp;&nbsp;&nbsp;<img src=\"[GifFile]\"><a href=\"[LinkedFile]\"><font face=[Font]>[LinkName]</font></a></td><td valign=\"top\" align=\"left\" width=\"70%\"><font face=[Font]>[ShortDesc]</font></td></tr>\n"},
    {"SYL_HTML_INDEX_FILE_END",
     "    [IndexEnd]\n"
     "</table>\n"
     "<p>\n"
     "<hr>\n"
     "<align=\"right\"><small><font face=[Font]>File created: [DateTime]</font></small>\n"
     "</p>\n"
     "</body>\n"
     "</html>\n"},
    {"SYL_HTML_INDEX_FILE_FRAME_END",
     "[IndexEnd]\n"
     "<p>\n"
     "<hr>\n"
     "<align=\"right\"><small><font face=[Font]>File created:<BR>[DateTime]</font></small>\n"
     "<BR><BR><a href=\"[LinkedFile]\" target=\"_top\"><font face=[Font]>back</font></a>\n"
     "</p>\n"
     "</body>\n"
     "</html>"},
    {"SYL_HTML_STD_LINK",
     "<a href=\"[LinkedFile]\">[LinkName]</a><BR>"},
    {"SYL_HTML_DESC_FILE_START_GIF",
     "<html>\n"
     "<head>\n"
     "<title>[HtmlTitle]</title>\n"
     "</head>\n"
     "<body>\n"
     "\n"
     "<table border=\"0\" width=\"100%\">\n"
     "  <tr><td width=\"60%\" valign=\"top\" align=\"left\"><img src=\"[GifFile]\"><big><font face=[Font]><strong><big>[FncTitle]</big></strong></font></big></td><td valign=\"top\" align=\"right\" width=\"40%\"><font face=[Font]>[ShortDesc]</font></td></tr>\n"
     "</table>\n"
     "<HR>\n"},
    {"SYL_HTML_DESC_FILE_START",
     "<html>\n"
     "<head>\n"
     "<title>[HtmlTitle]</title>\n"
     "</head>\n"
     "<body>\n"
     "\n"
     "<table border=\"0\" width=\"100%\">\n"
     "  <tr><td width=\"60%\" valign=\"top\" align=\"left\"><big><font face=[Font]><strong><big>[FncTitle]</big></strong></font></big></td><td valign=\"top\" align=\"right\" width=\"40%\"><font face=[Font]>[ShortDesc]</font></td></tr>\n"
     "</table>\n"
     "<HR>\n"},
    {"SYL_HTML_DESC_FILE_END",
     "<hr>\n"
     "<p align=\"right\"><small><font face=[Font]>File created: [DateTime] by [ZTCopyright]</font></small></p>\n"
     "</body>\n"
     "</html>"},
    {"SYL_HTML_DESC_CNT_HEADER",
     "\n"
     "<p>&nbsp;<BR><strong><big><font face=[Font]>[CntHeader]</font></big></strong>"},
    {"SYL_HTML_DESC_CNT_TEXT_PRE_BOLD",
     "<pre><b><font face=[Font]>\n"
     "[CntText]\n"
     "</font></b></pre>"},
    {"SYL_HTML_DESC_CNT_TEXT_START",
     "<P><font face=[Font] size=-1>"},
    {"SYL_HTML_DESC_CNT_TEXT_END",
     "</font></P>"},
    {"SYL_HTML_STD_PARAM_TABLE_START",
     "<table border=\"0\" width=\"100%\">"},
    {"SYL_HTML_STD_PARAM_ROW",
     "  <tr><td width=\"15%\" valign=\"top\" align=\"left\"><font face=[Font] size=-1>[LinkName]</font></td><td valign=\"top\" align=\"left\" width=\"85%\"><font face=[Font] size=-1>[ShortDesc]</font></td></tr>\n"},
    {"SYL_HTML_STD_PARAM_TABLE_END",
     "</table>"},
    {"SYL_COMMENT_STYLE",
     "sylva"},
    // "1", "ON", "YES" or "TRUE" (in any case) writes the search index and its runtime into the
    // project directory, for templates that hold a search box; any other value writes neither.
    {"SYL_HTML_SEARCH",
     "0"},
    // The project's entry page, with [HtmlTitle], [LinkedIndexFile] and [LinkedDetailsFile]. Its
    // frames keep the names "Index" and "Details" that the index frame's rows aim at.
    {"SYL_HTML_FRAME_SET",
     "<HTML>\n"
     "<HEAD>\n"
     "<TITLE>[HtmlTitle]</TITLE></HEAD>\n"
     "<FRAMESET COLS=\"240,*\" ONUNLOAD=\"0\">\n"
     "<FRAME SRC=\"[LinkedIndexFile]\" NAME=\"Index\" MARGINWIDTH=\"2\" MARGINHEIGHT=\"2\">\n"
     "<FRAME SRC=\"[LinkedDetailsFile]\" NAME=\"Details\">\n"
     "<NOFRAMES><BODY><basefont size=2></BODY></NOFRAMES></FRAMESET></HTML>"},
    // Switched on as SYL_HTML_SEARCH is, the doxygen style also shows what "@internal" and
    // "@cond" hide (as Doxygen's INTERNAL_DOCS and ENABLED_SECTIONS ask).
    {"SYL_DOXYGEN_INTERNAL_DOCS",
     "0"},
    // Directories or files read beside the scan path, "|" between them.
    {"SYL_SCAN_PATHS",
     ""},
    // Directories and files left out of the scan, with what lies below them, and glob patterns
    // ("*/tests/*", "*_test.cpp") matched against an entry's name and its absolute path.
    {"SYL_EXCLUDE",
     ""},
    // Glob patterns ("*.h|*.hpp|CMakeLists.txt") matched against a file's whole name; when any is
    // given they, not the extension filter, choose the files read.
    {"SYL_FILE_PATTERNS",
     ""},
    // Switched on as SYL_HTML_SEARCH is, symbolic links are neither followed nor read.
    {"SYL_EXCLUDE_SYMLINKS",
     "0"},
    // Macros the doxygen style replaces in declarations, "|" between them: "NAME=" removes a
    // name, "NAME=text" replaces it, "NAME(a,b)=text" replaces a call with its arguments.
    {"SYL_PREDEFINED",
     ""},
    // A Doxyfile whose project, inputs, output place and settings the run takes.
    {"SYL_DOXYFILE",
     ""},
    // The Markdown file of the inputs whose page the doxygen style makes the main page, which the
    // project's frame set opens first.
    {"SYL_MAIN_PAGE",
     ""},
    // Commands the doxygen style replaces in comments, "|" between them: "name=text" and
    // "name{n}=text" with "\1" for an argument and "^^" for a line end; a bar in a text is "\|".
    {"SYL_ALIASES",
     ""},
    // The tag file the run writes, listing every page for other sites to link to; empty: none.
    {"SYL_TAG_FILE",
     ""},
    // Tag files of other sites, "file=location" each and "|" between them: names they document
    // and the project does not link to "location/page" (a web address or a folder relative to
    // the project's pages).
    {"SYL_TAG_FILES",
     ""},
    // Directories and files where the doxygen style looks for the images comments show, beside
    // the source's folder and the scan paths, "|" between them; no image elsewhere is read.
    {"SYL_IMAGE_PATH",
     ""},
    // Directories and files holding the example files that "@include", "@snippet", "@example"
    // and "@dontinclude" show, "|" between them; without any, those commands only name the file.
    {"SYL_EXAMPLE_PATH",
     ""},
    // Glob patterns ("*.cpp|*.h") an example file's name must match when the example path is a
    // directory searched below; empty: any file.
    {"SYL_EXAMPLE_PATTERNS",
     ""},
    // Switched on as SYL_HTML_SEARCH is, an example is also looked for in the directories below
    // those of the example path.
    {"SYL_EXAMPLE_RECURSIVE",
     "0"},}};
// clang-format on

namespace {

constexpr std::string_view kSwitchedOn[] = {"1", "ON", "YES", "TRUE"};
constexpr std::string_view kSwitchValues[] = {"1",   "ON", "YES",   "TRUE", "0",
                                              "OFF", "NO", "FALSE", ""};
constexpr std::string_view kCommentStyles[] = {"SYLVA", "DOXYGEN"};

// The settings that take only some values, with those values in upper case.
struct SettingChoices {
    SettingId id;
    std::span<const std::string_view> values;
};
constexpr SettingChoices kSettingChoices[] = {
    {SYL_COMMENT_STYLE, kCommentStyles},
    {SYL_HTML_SEARCH, kSwitchValues},
    {SYL_DOXYGEN_INTERNAL_DOCS, kSwitchValues},
    {SYL_EXAMPLE_RECURSIVE, kSwitchValues},
};

// True iff `value`, without blanks at its ends and letter case aside, is one of `words` (upper
// case).
bool IsOneOf(std::string_view value, std::span<const std::string_view> words) {
    std::size_t first = value.find_first_not_of(" \t");
    std::size_t last = value.find_last_not_of(" \t");
    value = first == std::string_view::npos ? std::string_view()
                                            : value.substr(first, last - first + 1);
    return std::any_of(words.begin(), words.end(), [value](std::string_view word) {
        return word.size() == value.size() &&
               std::equal(word.begin(), word.end(), value.begin(), [](char a, char b) {
                   return a == (b >= 'a' && b <= 'z' ? static_cast<char>(b - 32) : b);
               });
    });
}

}  // namespace

bool IsSwitchedOn(std::string_view value) {
    return IsOneOf(value, kSwitchedOn);
}

bool SettingTakes(SettingId id, std::string_view value) {
    for (const SettingChoices& choices : kSettingChoices) {
        if (choices.id == id) {
            return IsOneOf(value, choices.values);
        }
    }
    return true;
}

std::vector<std::string> SplitSettingList(std::string_view value) {
    std::vector<std::string> entries;
    while (!value.empty()) {
        const std::size_t bar = value.find('|');
        std::string_view entry = value.substr(0, bar);
        const std::size_t first = entry.find_first_not_of(" \t");
        if (first != std::string_view::npos) {
            entry = entry.substr(first, entry.find_last_not_of(" \t") - first + 1);
            entries.emplace_back(entry);
        }
        value = bar == std::string_view::npos ? std::string_view() : value.substr(bar + 1);
    }
    return entries;
}

std::vector<std::string> SplitAliasList(std::string_view value) {
    std::vector<std::string> entries;
    std::string entry;
    for (std::size_t at = 0; at <= value.size(); ++at) {
        if (at == value.size() || (value[at] == '|' && (at == 0 || value[at - 1] != '\\'))) {
            const std::size_t first = entry.find_first_not_of(" \t");
            if (first != std::string::npos) {
                entries.push_back(entry.substr(first, entry.find_last_not_of(" \t") - first + 1));
            }
            entry.clear();
        } else {
            entry.push_back(value[at]);
        }
    }
    return entries;
}

std::string JoinAliasList(std::span<const std::string> entries) {
    std::vector<std::string> escaped;
    for (const std::string& entry : entries) {
        std::string& text = escaped.emplace_back();
        for (std::size_t at = 0; at < entry.size(); ++at) {
            if (entry[at] == '|' && (at == 0 || entry[at - 1] != '\\')) {
                text.push_back('\\');
            }
            text.push_back(entry[at]);
        }
    }
    return JoinSettingList(escaped);
}

std::string JoinSettingList(std::span<const std::string> entries) {
    std::string joined;
    for (const std::string& entry : entries) {
        if (!joined.empty()) {
            joined.push_back('|');
        }
        joined.append(entry);
    }
    return joined;
}

std::optional<SettingId> FindSettingByKey(std::string_view key) {
    if (key.empty()) {
        return std::nullopt;
    }
    auto it = std::find_if(kSettingDefinitions.begin(), kSettingDefinitions.end(),
                           [key](const SettingDefinition& setting) { return setting.key == key; });
    if (it == kSettingDefinitions.end()) {
        return std::nullopt;
    }
    return static_cast<SettingId>(it - kSettingDefinitions.begin());
}

}  // namespace sylva
