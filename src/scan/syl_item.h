// CSylItem: one documented thing (function, class, structure, macro, any declaration): what one
// documentation block and the declaration beside it say, sorted into the fields the HTML output
// needs.
//
// The file scan creates one item per block; the item derives every field in its construction.
// Afterwards only the cross-linking of item names rewrites its section lines. It knows nothing
// of HTML files: the html/ stages read its fields.
//
// An item keeps the block's text as it was found (its source text). The text its page shows
// beyond the index fields (the sections and the declaration as shown, its page text) is a pure
// function of the source text and the generator's settings, so a run that holds many items lets
// them drop it after the scan and derives it again, one item at a time, when the page is built.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "support/zt_string_array.h"
#include "support/zt_time.h"

namespace sylva {

class CZTScanSource;
class Prompter;

// The index of a section list of an item.
enum SectionKind : int {
    kSectionParameter = 0,
    kSectionContent = 1,
    kSectionGroup = 2,
    kSectionDescription = 3,
    kSectionAttention = 4,
    kSectionRemarks = 5,
    kSectionReturn = 6,
    kSectionExamples = 7,
    kSectionAuthor = 8,
    kSectionCopyright = 9,
    kSectionVersion = 10,
    kSectionHistory = 11,
    kSectionRequest = 12,
    kSectionSource = 13,
    kSectionSeeAlso = 14,
    kSectionDocType = 15,
    kSectionThrows = 16,
    kSectionCount = 17
};

// The 17 section lists of an item, indexed by SectionKind.
class SectionLists {
  public:
    using Lists = std::array<CZTStringArray, kSectionCount>;

    CZTStringArray& operator[](int kind) { return lists_[static_cast<std::size_t>(kind)]; }
    const CZTStringArray& operator[](int kind) const {
        return lists_[static_cast<std::size_t>(kind)];
    }

    Lists::const_iterator begin() const { return lists_.begin(); }
    Lists::const_iterator end() const { return lists_.end(); }

  private:
    Lists lists_;
};

// What an item's description page shows beyond its index fields.
struct ItemText {
    // The declaration as the page shows it: inline comments of a parameter table shortened or
    // removed as the run options ask.
    std::string declaration;
    int hasParamTable = 0;
    SectionLists sections;
};

// What an item holds beyond its index fields when it was built field by field or by the full
// constructor: its page text and the texts the index and the checks read. An item made by the
// scan holds none of it (it would cost more than its source text) and derives it when asked.
struct ItemDetails : ItemText {
    std::string shortDesc;
    std::string typeLabel;
    // The names the See also lines give, as the links show them (in line order), so that the run
    // can warn of links to pages it does not write.
    std::vector<std::string> seeAlsoNames;
};

class CSylItem {
  public:
    // An item with every field empty and no sections filled; for building items field by field.
    // It has no source text: its page text is what its fields hold.
    explicit CSylItem(CZTScanSource* owner);
    // Keeps the owner, the declaration and the time, and derives every field from them and from
    // the block's lines (Init). `messages` hears of a missing owner; nothing else uses it.
    CSylItem(CZTScanSource* owner, std::string declaration, const CZTStringArray& blockLines,
             CZTTime sourceTime, Prompter* messages = nullptr);
    CSylItem(const CSylItem&) = delete;
    CSylItem& operator=(const CSylItem&) = delete;
    virtual ~CSylItem();

    // Derives every field, in dependency order: name, page name, page text, group, short
    // description, type label. The page name depends on the names already in the owner's item
    // list. Returns 0, or -1 (fields left empty, `messages` warned when given) when `owner` is
    // null.
    int Init(CZTScanSource* owner, std::string declaration, const CZTStringArray& blockLines,
             CZTTime sourceTime, Prompter* messages = nullptr);

    // The item of one block as the file scan finds it, with the index fields derived and without
    // its page text (DerivePageText gives it). `blockText` holds the block's lines as
    // AppendBlockLine (scan/block_text.h) strings them together.
    static std::unique_ptr<CSylItem> FromBlock(CZTScanSource& owner, std::string_view declaration,
                                               std::string_view blockText, CZTTime sourceTime);

    // The section list of a SectionKind, or null for any other index. REQUIRES: HasPageText().
    CZTStringArray* GetSection(int index);
    const CZTStringArray* GetSection(int index) const;

    // Derived from `name`: invalid file name characters replaced by '_'; and the part of a
    // qualified name after its first "::" (SplitClassMember).
    std::string SafeName() const;
    std::string MemberName() const;
    // `group` + "-" + `name`; the item list is ordered by it.
    std::string SortKey() const;
    // The description page's file name, plain or numbered by `pageNumber`, and its full path in
    // the owner's project directory.
    std::string PageFile() const;
    std::string PagePath() const;

    // True when the item holds its details (ItemDetails): always for items built field by field
    // or by the full constructor. An item made by FromBlock holds only its source text and
    // derives them when asked.
    bool HasPageText() const { return details_ != nullptr; }
    // REQUIRES: HasPageText().
    ItemDetails& Details() { return *details_; }
    const ItemDetails& Details() const { return *details_; }
    // The page text as the item's construction derived it, from its source text and the owner's
    // settings and run options. Safe to call from several threads at once while nothing changes
    // the owner. REQUIRES: the item has a source text; owner->Keywords() is current.
    ItemText DerivePageText() const;
    // The short description and the See also names of the details, or, for an item without
    // them, what they would hold (derived as DerivePageText is, and as safe).
    std::string ShortDescription() const;
    // The type label of the details, or, for an item without them, what it would hold, from the
    // Doc type lines of `text`. REQUIRES: `text` is the item's page text.
    std::string TypeLabel(const ItemText& text) const;
    std::vector<std::string> SeeAlsoNames() const;

    CZTScanSource* owner = nullptr;  // not owned
    std::string name;
    CZTTime sourceTime;
    std::string group;
    // Where the block's start marker stands, for messages that point at the source. The text is
    // not owned: the scan keeps one copy per file.
    std::string_view sourceFile;
    // The numbers stand together, so that an item takes no room for alignment between them.
    int sourceLine = 0;
    int hasSyntax = 0;
    // The run-wide number in a numbered page's name; -1 for the plain page "SYLVA_<name>.html".
    int pageNumber = -1;
    int accessRank = 0;
    int isPublic = 0;

    // Gives the item the plain page name of its name. For the first surviving item of a name
    // whose plain page's item the run dropped: links by name lead to the plain page.
    void UsePlainPageName() { pageNumber = -1; }

  private:
    // Keeps the source text, then names the item and derives its index fields (DeriveIndexFields).
    void Build(CZTScanSource* itemOwner, std::string_view declarationText,
               std::string_view blockText, CZTTime time);
    // Numbers the page with the owner's run-wide duplicateCounter when an item of the same name
    // is already listed.
    void MakePageNames();
    // Group, access rank and public flag from the block's section lines; when the item holds its
    // details, also their type label, short description and See also names.
    void DeriveIndexFields();

    std::string_view SourceDeclaration() const {
        return std::string_view(sourceText_).substr(0, declarationSize_);
    }
    std::string_view SourceBlock() const {
        return std::string_view(sourceText_).substr(declarationSize_);
    }

    // The declaration as found (leading line feeds and spaces removed), then the block's lines
    // (AppendBlockLine). Empty for items built field by field.
    std::string sourceText_;
    std::size_t declarationSize_ = 0;
    std::unique_ptr<ItemDetails> details_;
};

// The name of an item whose block has no declaration.
inline constexpr std::string_view kUntitledName = "__Untitled";

// True iff `declaration` holds nothing but line feeds and spaces: its item is named
// kUntitledName.
bool DeclaresNothing(std::string_view declaration);

// The part of a qualified name between its first "::" and the next one (or the end); the whole
// name when it holds no "::". "A::B::C" gives "B".
std::string SplitClassMember(const std::string& name);

// True iff the sort key of `a` orders before that of `b` (byte order), without building either.
bool SortsBefore(const CSylItem& a, const CSylItem& b);

}  // namespace sylva
