// How an item's name and syntax flag follow from its declaration text.
#include "scan/declaration_name.h"

#include "support/zt_string.h"

namespace sylva {

namespace {

constexpr std::string_view kBodyEndTrim = "\n ;{}";
constexpr std::string_view kBodyStartTrim = "\n ;}{";

// The text after the last space; all of `text` when it has none.
std::string_view LastWord(std::string_view text) {
    std::size_t space = text.rfind(' ');
    return space == text.npos ? text : text.substr(space + 1);
}

std::string FunctionName(std::string_view declaration) {
    std::string_view head = declaration.substr(0, declaration.find('('));
    std::string_view name = LastWord(TrimRightView(head, " "));
    if (!name.empty() && (name.front() == '&' || name.front() == '*')) {
        name.remove_prefix(1);
    }
    return std::string(name);
}

std::string BodyName(std::string_view declaration) {
    std::size_t lastOpen = declaration.rfind('{');
    std::size_t previousOpen =
        lastOpen == 0 ? declaration.npos : declaration.rfind('{', lastOpen - 1);
    std::size_t from = previousOpen == declaration.npos ? 0 : previousOpen + 1;
    std::string_view head = declaration.substr(from, lastOpen - from);
    head = TrimLeftView(TrimRightView(head, kBodyEndTrim), kBodyStartTrim);
    std::string_view name = LastWord(head);
    if (name == "struct" || name == "typedef") {
        name = {};
    }
    if (name.empty()) {
        // An untagged structure is named by what follows its body: "typedef struct {...} POINT;".
        std::size_t lastClose = declaration.rfind('}');
        std::string_view tail =
            lastClose == declaration.npos ? declaration : declaration.substr(lastClose + 1);
        name = LastWord(TrimView(tail, kBodyStartTrim));
    }
    return std::string(name);
}

}  // namespace

bool ContainsOutsideComments(std::string_view text, char ch) {
    if (text.find("//") == text.npos && text.find("/*") == text.npos) {
        return text.find(ch) != text.npos;
    }
    bool inBlockComment = false;
    bool inLineComment = false;
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        char c = text[i];
        char d = text[i + 1];
        if (c == '/' && d == '*') {
            inBlockComment = true;
        }
        if (c == '/' && d == '/') {
            inLineComment = true;
            continue;
        }
        if (c == '*' && d == '/') {
            inBlockComment = false;
        }
        if (inLineComment) {
            if (c == '\n' || (c == '\r' && d == '\n')) {
                inLineComment = false;
            } else {
                continue;
            }
        }
        if (!inBlockComment && c == ch) {
            return true;
        }
    }
    return false;
}

DerivedName DeriveName(std::string_view declaration) {
    DerivedName derived;
    if (ContainsOutsideComments(declaration, '(')) {
        derived.hasSyntax = 1;
        derived.name = FunctionName(declaration);
    } else if (ContainsOutsideComments(declaration, '{')) {
        derived.hasSyntax = 1;
        derived.name = BodyName(declaration);
    } else {
        derived.name = std::string(TrimLeftView(declaration, "/ "));
    }
    derived.name = std::string(TrimLeftView(derived.name, "\n "));
    return derived;
}

}  // namespace sylva
