// Commands a project defines for its comments ("sideeffect=\par Side effects:", "reqid{1}=...
// \1"), replaced in a comment's text before its commands are read, so that an alias reads as
// the commands it stands for.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace sylva {

// Uses of aliases inside aliases are replaced too, at most this many levels deep; an alias that
// uses itself stops there, its deepest use left out.
inline constexpr int kMaxAliasDepth = 16;
// The most bytes the replacement of one comment line may grow to: aliases that use others
// twice over would otherwise double the text with each level.
inline constexpr std::size_t kMaxAliasExpansion = 256 * 1024;

class CommentAliases {
  public:
    // Reads definitions as Doxyfiles write them: "name=text" or "name{n}=text", where "\1" to
    // "\9" in the text stand for the arguments of a use "\name{a,b}" and "^^" for a line end.
    // Several definitions of one name with different argument counts stand side by side; a
    // later definition of the same name and count wins. An entry that is no definition
    // replaces nothing and is kept in Rejected().
    explicit CommentAliases(const std::vector<std::string>& definitions);

    bool empty() const { return aliases_.empty(); }
    const std::vector<std::string>& Rejected() const { return rejected_; }

    // `text` with every use "@name", "\name" or "\name{arguments}" of an alias replaced, and the
    // uses in the replacements in turn; a text of several lines comes back with line feeds. An
    // escaped "\\" or "\@" is no use, nor is an "@" behind a word. A use too deep (an alias
    // using itself) or past the growth limit is left out, and `runaway` names its alias;
    // otherwise `runaway` is left alone.
    std::string Expand(std::string_view text, std::string& runaway) const;

  private:
    // Appends `text` expanded, its uses `depth` levels below the comment's own text.
    void ExpandInto(std::string_view text, int depth, std::string& out, std::string& runaway) const;
    // The alias a use names with its arguments, and where the use ends; null when none fits.
    const std::string* Find(std::string_view text, std::size_t nameEnd, std::string_view name,
                            std::vector<std::string>& arguments, std::size_t& end) const;

    // By name, then by argument count.
    std::map<std::string, std::map<std::size_t, std::string>, std::less<>> aliases_;
    std::vector<std::string> rejected_;
};

}  // namespace sylva
