// The string settings of a run: comment markers, section headings and keyword lists, type words,
// fonts and HTML templates, each with its configuration key and built-in default.
//
// This table is the one place where a setting, its key and its default are defined; it lies
// below every layer because each reads some of them (the scan its markers and keyword lists, the
// html layer its templates, the engine their keys). The values of one run are a Settings
// (scan/settings.h). Every
// setting but throwsHeading is named by its configuration key; throwsHeading has no key and can
// never be changed. Texts are bytes: the German keyword defaults hold Windows-1252 letters.
#pragma once

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace sylva {

enum SettingId : int {
    SYL_DOC_BLOCK_START,
    SYL_DOC_BLOCK_END,
    SYL_Q_SYNTAX,
    SYL_Q_CONTENT,
    SYL_Q_CONTENT_SEE,
    SYL_Q_SECTION_SEE,
    SYL_Q_TYPE,
    SYL_Q_TYPE_SEE,
    SYL_Q_DESCRIPTION,
    SYL_Q_DESCRIPTION_SEE,
    SYL_Q_PARAMETER,
    SYL_Q_PARAMETER_SEE,
    SYL_Q_ATTENTION,
    SYL_Q_ATTENTION_SEE,
    SYL_Q_REMARK,
    SYL_Q_REMARK_SEE,
    SYL_Q_RETURN,
    SYL_Q_RETURN_SEE,
    throwsHeading,
    SYL_Q_THROWS_SEE,
    SYL_Q_EXAMPLE,
    SYL_Q_EXAMPLE_SEE,
    SYL_Q_AUTHOR,
    SYL_Q_AUTHOR_SEE,
    SYL_Q_COPYRIGHT,
    SYL_Q_COPYRIGHT_SEE,
    SYL_Q_VERSION,
    SYL_Q_VERSION_SEE,
    SYL_Q_HISTORY,
    SYL_Q_HISTORY_SEE,
    SYL_Q_REQUEST,
    SYL_Q_REQUEST_SEE,
    SYL_Q_SOURCE,
    SYL_Q_SOURCE_SEE,
    SYL_Q_SEEALSO,
    SYL_Q_SEEALSO_SEE,
    SYL_Q_PARAM_LOOK_THERE,
    SYL_Q_HTML_INDEX_BEGIN,
    SYL_Q_HTML_INDEX_END,
    SYL_TYPE_PUBLIC_S,
    SYL_TYPE_EXPORT_S,
    SYL_TYPE_PRIVATE_S,
    SYL_TYPE_CONSTRUCTOR_S,
    SYL_TYPE_DESTRUCTOR_S,
    SYL_TYPE_PROTECTED_S,
    SYL_TYPE_HELPER_S,
    SYL_TYPE_INTERNAL_S,
    SYL_STD_FONT_HEADER,
    SYL_STD_FONT_TEXT,
    SYL_HTML_MS_INDEX_FILE_START,
    SYL_HTML_MS_STD_LINK,
    SYL_HTML_MS_INDEX_FILE_END,
    SYL_HTML_INDEX_FILE_START,
    SYL_HTML_INDEX_FILE_FRAME_START,
    SYL_HTML_STD_INDEX_LINK,
    SYL_HTML_STD_INDEX_LINK_GROUP,
    SYL_HTML_STD_INDEX_LINK_GIF,
    SYL_HTML_INDEX_FILE_END,
    SYL_HTML_INDEX_FILE_FRAME_END,
    SYL_HTML_STD_LINK,
    SYL_HTML_DESC_FILE_START_GIF,
    SYL_HTML_DESC_FILE_START,
    SYL_HTML_DESC_FILE_END,
    SYL_HTML_DESC_CNT_HEADER,
    SYL_HTML_DESC_CNT_TEXT_PRE_BOLD,
    SYL_HTML_DESC_CNT_TEXT_START,
    SYL_HTML_DESC_CNT_TEXT_END,
    SYL_HTML_STD_PARAM_TABLE_START,
    SYL_HTML_STD_PARAM_ROW,
    SYL_HTML_STD_PARAM_TABLE_END,
    SYL_COMMENT_STYLE,
    SYL_HTML_SEARCH,
    SYL_HTML_FRAME_SET,
    SYL_DOXYGEN_INTERNAL_DOCS,
    SYL_SCAN_PATHS,
    SYL_EXCLUDE,
    SYL_FILE_PATTERNS,
    SYL_EXCLUDE_SYMLINKS,
    SYL_PREDEFINED,
    SYL_DOXYFILE,
    SYL_MAIN_PAGE,
    SYL_ALIASES,
    SYL_TAG_FILE,
    SYL_TAG_FILES,
    SYL_IMAGE_PATH,
    SYL_EXAMPLE_PATH,
    SYL_EXAMPLE_PATTERNS,
    SYL_EXAMPLE_RECURSIVE,
    kSettingCount
};

struct SettingDefinition {
    std::string_view key;  // empty for the one setting without a key
    std::string_view defaultValue;
};

// Indexed by SettingId.
extern const std::array<SettingDefinition, kSettingCount> kSettingDefinitions;

// True iff a switch setting's `value` is "1", "ON", "YES" or "TRUE" (any case, blanks around it).
bool IsSwitchedOn(std::string_view value);

// The entries of a list setting (scan paths, exclusions, patterns, macros): the texts between its
// "|" separators, without blanks at their ends, empty ones left out.
std::vector<std::string> SplitSettingList(std::string_view value);
// The list setting of `entries`, "|" between them.
std::string JoinSettingList(std::span<const std::string> entries);
// The entries of the alias list: split at the "|" that no "\" stands before, since an alias's
// text may show a bar as Doxygen's escaped "\|"; blanks at their ends and empty ones go.
std::vector<std::string> SplitAliasList(std::string_view value);
// The alias list of `entries`, "|" between them and each bar inside an entry escaped as "\|".
std::string JoinAliasList(std::span<const std::string> entries);
// False iff the setting `id` takes only some values and `value` is none of them: a switch takes
// "1", "ON", "YES", "TRUE", "0", "OFF", "NO", "FALSE" or nothing, the comment style "sylva" or
// "doxygen" (any case, blanks around them). Every other setting takes any text.
bool SettingTakes(SettingId id, std::string_view value);

// The setting whose key equals `key` byte for byte, if any.
std::optional<SettingId> FindSettingByKey(std::string_view key);

}  // namespace sylva
