// Naming a C or C++ declaration as its reader would: what it declares, under which name, and the
// names of its parameters. Works on the text of one declaration without comments, as the reader
// of documentation comments collects it; needs no other declaration (macros and export words
// such as EVENT2_EXPORT_SYMBOL, SDLCALL or GLFWAPI are recognised by where they stand).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace sylva {

enum class DeclarationKind {
    kUnknown,
    kNamespace,
    kLinkage,  // extern "C" { or extern "C++" {
    kClass,
    kStruct,
    kUnion,
    kEnum,
    kTypedef,  // typedef, and typedef of a class body (see typedefBody)
    kAlias,    // using Name = ...
    kFunction,
    kVariable,  // also a function pointer variable, which has a parameter list
};

struct CppDeclaration {
    DeclarationKind kind = DeclarationKind::kUnknown;
    // The declared name as written, qualified when the declaration qualifies it ("CBed::Plant",
    // "CBed::~CBed", "operator=="); empty for an anonymous class, struct, union or enum.
    std::string name;
    bool hasParameterList = false;
    // The parameter names in order: "" for an unnamed parameter, "..." for a variadic end.
    std::vector<std::string> parameters;
    std::vector<std::string> templateParameters;
    // A function's parameter types without names and default values, as "(int,const char*)",
    // with " const" behind for a const member function: what tells overloads apart.
    std::string signature;
    // Every name a variable, member or typedef declaration declares ("int a, *b;": a and b).
    std::vector<std::string> declarators;
    // "typedef struct ... {": the names that follow the body are typedef names.
    bool typedefBody = false;
    // "friend": the class declares no member of its own; the name may be qualified by the
    // namespace of the function it befriends ("friend T cv::operator+(...)").
    bool isFriend = false;
    // namespace: "inline namespace"; such a namespace adds nothing to names.
    bool inlineNamespace = false;
    // With "{" as terminator: the brace opens an initializer (int a[] = {, a member initializer
    // of a constructor), not a body, and the declaration goes on behind it.
    bool braceInitializer = false;
    // Where the declaration as a page shows it ends in the text: before a constructor's member
    // initializers; npos for the whole text.
    std::size_t shownEnd = std::string_view::npos;
};

// What `text` declares; `terminator` is the byte that ended it: ';', '{', or '\0' for text that
// ended otherwise (the end of a scope, a trailing comment).
CppDeclaration ParseDeclaration(std::string_view text, char terminator);
// ParseDeclaration without the signature (left empty): for the many declarations read for their
// name or shape alone, of which no item and no count is made.
CppDeclaration ParseDeclarationWithoutSignature(std::string_view text, char terminator);

// A "#define" directive's macro: kind kFunction for a function-like macro (with its
// parameters), kVariable for an object-like one; kUnknown for any other directive.
CppDeclaration ParseMacro(std::string_view directive);

// The name of one enumerator ("RED = 1" gives RED); empty when it holds no identifier.
std::string EnumeratorName(std::string_view text);

// The names a list of declarators declares: " Name, *PName" (the part of "typedef struct {...}
// Name, *PName;" behind the body) gives Name and PName.
std::vector<std::string> DeclaratorNames(std::string_view text);

// A data member or enumerator as its declaration reads around its name, each part with its runs of
// blanks as one space: `type` before the name ("const char *", "int ", "void (*"), `tail` behind
// it ("[16]", " : 3", " = (1 << 2)", ")(int speed)"); joined around the name they read as the
// declaration did. Both empty when the name is not found before an
// initializer, bounds or width; `tail` empty when more names follow ("int a, b") or when it is
// longer than kMaxMemberTail, `type` when it is longer than kMaxMemberType.
struct MemberShape {
    std::string type;
    std::string tail;
    friend bool operator==(const MemberShape&, const MemberShape&) = default;
};
MemberShape ShapeOfMember(std::string_view text, std::string_view name);
// The shape of a variable's `declaration` around its first declarator, as its scope's row shows
// it ("static const int " and "[4]" of "static const int limits[4];").
MemberShape ShapeOfVariable(std::string_view declaration);
inline constexpr std::size_t kMaxMemberType = 120;
inline constexpr std::size_t kMaxMemberTail = 80;

}  // namespace sylva
