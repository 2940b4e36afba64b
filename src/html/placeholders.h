// Filling the HTML templates: the placeholders in square brackets and their substitution.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace sylva {

namespace placeholder {
inline constexpr std::string_view kFont = "[Font]";
inline constexpr std::string_view kLinkName = "[LinkName]";
inline constexpr std::string_view kLinkedFile = "[LinkedFile]";
inline constexpr std::string_view kShortDesc = "[ShortDesc]";
inline constexpr std::string_view kHtmlTitle = "[HtmlTitle]";
inline constexpr std::string_view kFncTitle = "[FncTitle]";
inline constexpr std::string_view kGifFile = "[GifFile]";
inline constexpr std::string_view kCntHeader = "[CntHeader]";
inline constexpr std::string_view kCntText = "[CntText]";
inline constexpr std::string_view kDateTime = "[DateTime]";
inline constexpr std::string_view kZTCopyright = "[ZTCopyright]";
inline constexpr std::string_view kIndexBegin = "[IndexBegin]";
inline constexpr std::string_view kIndexEnd = "[IndexEnd]";
inline constexpr std::string_view kListSearchEntries = "[ListSearchEntries]";
inline constexpr std::string_view kLinkedIndexFile = "[LinkedIndexFile]";
inline constexpr std::string_view kLinkedDetailsFile = "[LinkedDetailsFile]";
}  // namespace placeholder

struct Substitution {
    std::string_view placeholder;
    std::string_view value;
};

// `templateText` with each placeholder replaced, in the order given, at every occurrence by its
// value. Values are inserted as they are: nothing is HTML-escaped, so documentation text that
// holds HTML reaches the page as HTML. A value that holds a placeholder still to come is filled
// in turn; a placeholder missing from the template is simply not substituted.
std::string FillTemplate(std::string_view templateText,
                         std::initializer_list<Substitution> substitutions);

}  // namespace sylva
