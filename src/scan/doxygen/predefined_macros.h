// Macros a project predefines for its documentation (export and attribute macros, for the most
// part), replaced in the code of a doxygen-style file before its comments and declarations are
// read, so that "CV_EXPORTS void f();" shows as "void f();".
#pragma once

#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace sylva {

class PredefinedMacros {
  public:
    // Reads definitions as Doxyfiles write them: "NAME=" (the name is removed), "NAME=text" (it
    // is replaced by the text), "NAME(a,b)=text" (a call is replaced by the text with its
    // arguments in place of the parameters); ":=" counts as "=". A bare "NAME" only defines a
    // name for conditions, which are not evaluated, so it replaces nothing; so does an entry
    // that is not a definition.
    explicit PredefinedMacros(const std::vector<std::string>& definitions);

    bool empty() const { return macros_.empty(); }

    // `code` with every use of a macro outside comments, string and character literals and
    // preprocessor lines replaced, once (a replacement is not scanned again). Line ends, those
    // inside a call's arguments included, are kept, so that every line keeps its number. A call
    // whose parentheses do not close is left as written.
    std::string Expand(std::string_view code) const;

  private:
    struct Macro {
        std::string name;
        bool functionLike = false;
        std::vector<std::string> parameters;
        std::string body;
    };

    const Macro* Find(std::string_view name) const;
    // Appends the replacement of the call of `macro` whose "(" stands at `open`; returns the
    // index behind its ")", or `open` when the call does not close.
    std::size_t AppendCall(const Macro& macro, std::string_view code, std::size_t open,
                           std::string& out) const;

    std::map<std::string, Macro, std::less<>> macros_;  // by name; a later definition wins
};

}  // namespace sylva
