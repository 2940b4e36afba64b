// The text of an item's page: the neutral text the scan derives (ItemText), rendered into the
// lines the page shows. The parameter table becomes rows of its templates, the See also names
// become links, the type words a caption.
#pragma once

#include <string>
#include <string_view>

#include "html/html.h"
#include "html/rich_text.h"

namespace sylva {

class ScopeIndex;

struct PageText {
    // The declaration as the Syntax block shows it.
    std::string declaration;
    // The lines of each section as the page writes them.
    SectionLists sections;
    // True when the Parameter section is a table: its lines then carry no line breaks.
    bool hasParamTable = false;
    // The table of the documented template parameters as HTML lines; empty when there are none.
    CZTStringArray templateParameters;
    // "<group><BR>(<type words>)".
    std::string typeLabel;
    // The type words alone ("Public Constructor").
    std::string typeText;
    // Where the item is declared, as a paragraph of HTML (DeclaredAt); empty for the default
    // style, whose pages say nothing of it.
    std::string declaredAt;
};

// The page text of `item` from its derived `text`. The lines of an item of the doxygen style are
// rich text: they become HTML, their references links to the pages of the listed items they
// name, and its declaration is escaped; those of the default style are HTML as written.
// With `scopes`, names resolve through the bases of classes too (ResolveFromScopes).
PageText RenderPageText(const CSylItem& item, ItemText text, const Settings& settings,
                        const RunOptions& options, const Project& project, const ItemList& items,
                        const ScopeIndex* scopes = nullptr);

// The item's name, group and short description as a page shows them: as written for the default
// style, whose text is HTML; escaped (the short description rendered) for the doxygen style,
// whose names hold "<" and "&" as C++ does ("operator<", "std::vector<int>"). The name and group
// are views of the item's own text, or of `escaped` when they had to be escaped.
std::string_view ShownName(const CSylItem& item, std::string& escaped);
std::string_view ShownGroup(const CSylItem& item, std::string& escaped);
// The name as the body of a page shows it: the qualified name of an item of the doxygen style may
// break after each "::", so that a long one cannot push the index out of the window.
std::string_view ShownBreakableName(const CSylItem& item, std::string& escaped);
// `text`, a part of the item's name or group, as its page shows it.
std::string_view ShownText(const CSylItem& item, std::string_view text, std::string& escaped);
std::string ShownShortDescription(const CSylItem& item, const Settings& settings,
                                  const ItemList& items);
// The short description of `member` (of the doxygen style) as a row of the member table on
// `table`'s page shows it: its references and the names of its text linked as on the member's
// own page, from the member's scope out, whichever page the table stands on; a name of `table`
// itself stays a word, as it is on its own page.
std::string ShownMemberBrief(const CSylItem& member, const CSylItem& table,
                             const Settings& settings, const ItemList& items,
                             const ScopeIndex& scopes);

// Where the references of `item`'s rich text lead: the plain page of the listed item a name
// resolves to from the innermost scope of `item` outward (ResolveFromScopes), else that of the
// page the name labels (ItemList::LabelledName), else the page of the group a name is the label
// of, else its address on another site (ItemList::ExternalAddress), or nowhere.
// With `scopes`, a class's names include those of its bases.
LinkLookup ReferencesOf(const CSylItem& item, const ItemList& items,
                        const ScopeIndex* scopes = nullptr);

// "Declared in <header>, line <n>." as a paragraph of HTML: the header's path below `scanPath`
// (the whole path when it lies elsewhere) and the line its declaration starts on (its comment's,
// when the reader found no declaration); empty when the item stands in no file.
std::string DeclaredAt(const CSylItem& item, std::string_view scanPath);

// The page text of `item`, derived and rendered; the text derived is told to `reader` first,
// when there is one, and `read` takes what it gives.
PageText DerivePageText(const CSylItem& item, const PageJob& job, PageTextReader* reader = nullptr,
                        std::string* read = nullptr, const ScopeIndex* scopes = nullptr);

}  // namespace sylva
