// Names that link without being marked: the words of a page's plain text, code spans and
// declaration that name a documented item, as a reader of an API reference expects them linked.
//
// A word links by its shape: a scoped name ("geo::Shape", "Shape::draw"), a name followed by "()"
// or, in text, by the parameter list that picks an overload ("resize(Index,Index)"),
// "#name" (a member of the page's scope), "::name" (a global name), or a name that holds an
// upper-case letter or "_" ("Circle", "SDL_GL_LoadLibrary", "git_oid"). A plain lower-case word
// ("draw", "the") never does: prose is full of them. A word that is part of a web address, a path
// or a file name ("shape.h", "a/b") is no name.
//
// Cost: reading a word is linear in its bytes, and resolving it takes one hash lookup per scope
// of the page's item (ItemList::Contains), however many items share the name.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "html/rich_text.h"
#include "scan/items.h"

namespace sylva {

class ScopeIndex;

// A word read at some place of a text.
struct NameWord {
    // The place behind the word as written, its "()" included.
    std::size_t end = 0;
    // What a link shows: the word as written, without a leading "#".
    std::string_view shown;
    // What it is looked up by: the name without "#" and "()", a leading "::" kept (a global
    // name). Empty when the word is no name (part of an address, a path or a file name).
    std::string_view name;
    // True when its shape marks it as a name meant to link in plain text.
    bool byShape = false;
    // When a parameter list was read behind the name ("resize(Index,Index)"): the place of its
    // "(", where the word ends when the whole does not link, so that the list is read on its own.
    // Zero otherwise.
    std::size_t nameEnd = 0;
};

// Whether a word may carry the parameter list its author wrote to pick an overload. Text does;
// a declaration does not, since its parameters hold names of their own that link one by one.
enum class NameForm { kBare, kWithArguments };

// The word that starts at text[at], or nothing when none starts there: at a letter, "_", "#" or
// "::" that does not continue a word, a path or a member access ("a.b", "a/b", "~T", "a->b"). A
// web address ("https://x/Shape") is read whole, as one word that is no name. With
// kWithArguments, an operator's name holds its token ("operator()", "Matrix::operator+="), and
// a parameter list of types right behind the name is part of the word, with a " const" behind
// it; the word then reads as a call.
std::optional<NameWord> ReadNameWord(std::string_view text, std::size_t at,
                                     NameForm form = NameForm::kBare);

// The innermost scope of the names written in the text of `from`: a class, struct, union, enum or
// namespace itself, the scope around any other member, and for a group, page or file the scope
// its comment stood in. Empty: the global scope alone.
std::string LookupScope(const CSylItem& from);

// The listed name that `name`, written in a text whose innermost scope is `scope` (LookupScope),
// refers to, tried from `scope` outward: the members of `scope` first, then those of each
// enclosing scope, last the name alone. A leading "::" asks for the name alone. With `scopes`, a
// class's members include those of its paged bases, nearest first, so that "Derived::f" and "f"
// on Derived's pages find the "f" Derived inherits. Nothing when none is listed.
std::optional<std::string> ResolveFromScopes(const ItemList& items, std::string_view name,
                                             std::string_view scope,
                                             const ScopeIndex* scopes = nullptr);

// The target of the row `name` names, tried from `scope` outward as ResolveFromScopes does: the
// page of the item whose member table shows it (a data member, an enumerator), with the row's
// anchor. Nothing when no listed item shows such a row.
std::optional<std::string> RowTargetFromScopes(const ItemList& items, std::string_view name,
                                               std::string_view scope,
                                               const ScopeIndex* scopes = nullptr);

// Where a name no listed item has leads: the row it names (RowTargetFromScopes), else its
// address on another site whose tag file the run read (ItemList::ExternalAddress), else nowhere.
std::optional<std::string> RowOrElsewhere(const ItemList& items, std::string_view name,
                                          std::string_view scope,
                                          const ScopeIndex* scopes = nullptr);

// Where the words of `item`'s page lead: the plain page of the item a name resolves to
// (ResolveFromScopes), else the row it names or its address on another site (RowOrElsewhere), or
// nowhere when it resolves to `item` itself (its own name needs no link on its own page).
// REQUIRES: `item`, `items` and `scopes` (when given) outlive the lookup.
LinkLookup WordLinksOf(const CSylItem& item, const ItemList& items,
                       const ScopeIndex* scopes = nullptr);

// Appends a link to `page` (a page file) that shows `shown`, escaped, without the marks of rich
// text's literals.
void AppendNameLink(std::string& out, std::string_view page, std::string_view shown);

// `declaration` escaped as HTML, each name in it that `words` finds (by its shape) a link.
std::string LinkedDeclaration(std::string_view declaration, const LinkLookup& words);

}  // namespace sylva
