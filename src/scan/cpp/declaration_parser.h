// The parser behind ParseDeclaration, shared by its two files (declaration.cpp: what a
// declaration declares; declarators.cpp: the names in it). Internal to the scan.
//
// The analysis works on the declaration's top-level units: tokens at bracket depth zero, a bracket
// group standing as its opening token, attributes ([[...]], __attribute__((...)), __declspec(...),
// alignas(...)) left out.
#pragma once

#include <algorithm>
#include <array>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "scan/cpp/declaration.h"
#include "scan/cpp/tokens.h"

namespace sylva::cpp_parse {

inline bool IsIdentifierByte(char ch) {
    return (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9') ||
           ch == '_';
}

template <std::size_t N>
bool IsOneOf(const std::array<std::string_view, N>& words, std::string_view word) {
    return std::find(words.begin(), words.end(), word) != words.end();
}

// One declaration's tokens and their analysis.
class DeclarationParser {
  public:
    // `signature`: whether Parse gives a function's signature, which costs about as much as the
    // rest of its parse.
    explicit DeclarationParser(std::string_view text, bool signature = true)
        : text_(text), tokens_(Tokenize(text)), signature_(signature) {}

    CppDeclaration Parse(char terminator);
    std::vector<std::string> Declarators() { return DeclaratorNames(TopLevel(0, tokens_.size())); }
    std::string FirstIdentifier() const;

  private:
    // Indices of top-level tokens: a list owns them, a range views a run of some list's (a
    // parameter between two commas) without copying it.
    using UnitList = std::vector<std::size_t>;
    using Units = std::span<const std::size_t>;

    const Token& At(std::size_t index) const { return tokens_[index]; }
    bool OpensGroup(std::size_t index) const {
        return At(index).match != kNoToken && At(index).match > index &&
               At(index).kind == TokenKind::kPunctuation;
    }
    // The index behind a token, behind its whole group when it opens one.
    std::size_t Behind(std::size_t index) const {
        return OpensGroup(index) ? At(index).match + 1 : index + 1;
    }
    bool IsName(std::size_t index) const {
        return At(index).kind == TokenKind::kIdentifier && !IsReservedWord(At(index).text);
    }

    // The top-level units of the tokens [from, to).
    UnitList TopLevel(std::size_t from, std::size_t to) const;
    bool UnitIs(const Units& units, std::size_t u, std::string_view spelling) const {
        return u < units.size() && At(units[u]).Is(spelling);
    }

    bool ParseClassHead(const Units& units, std::size_t u, char terminator, bool isTypedef,
                        CppDeclaration& result) const;
    void ParseFunctionOrVariable(const Units& units, std::size_t u, char terminator, bool isTypedef,
                                 CppDeclaration& result) const;

    // "A::B" ending at units[last], back to `first`; template arguments left out.
    std::string QualifiedNameEndingAt(const Units& units, std::size_t first, std::size_t last,
                                      std::string name, std::size_t& start) const;
    // The name of an operator whose "operator" is units[u]; `group` receives the unit of its
    // parameter list (units.size() when it has none).
    std::string OperatorName(const Units& units, std::size_t u, std::size_t& group) const;
    bool HasPointer(std::size_t open) const;
    // A "(" group followed by "(" or "[" that holds a pointer: the name declared inside it.
    bool IsDeclaratorGroup(const Units& units, std::size_t u) const;
    // A "(" group that holds one name and nothing else, followed by a parameter list: a function
    // name kept from function-like macros of the same name, "(max)(int a, int b)".
    bool IsParenthesizedName(const Units& units, std::size_t u) const;
    std::string DeclaratorGroupName(std::size_t open) const;
    // The parameter names of the group opened at `open`, a parameter list or (`templateList`)
    // a template head's.
    std::vector<std::string> ParameterNames(std::size_t open, bool templateList) const;
    std::string ParameterName(const Units& piece, bool templateList) const;
    // The signature of the parameter list opened at `open` (CppDeclaration::signature).
    std::string Signature(std::size_t open) const;
    std::vector<std::string> DeclaratorNames(Units units) const;
    // The runs of `units` between its commas; they view `units`, which must outlive them.
    std::vector<Units> SplitAtCommas(Units units) const;

    std::string_view text_;
    std::vector<Token> tokens_;
    bool signature_ = true;
};

}  // namespace sylva::cpp_parse
