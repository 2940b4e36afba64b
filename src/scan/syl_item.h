// CSylItem: one documented thing (function, class, structure, macro, any declaration): what one
// documentation block and the declaration beside it say, sorted into the fields the HTML output
// needs.
//
// The file scan creates one item per block; the item derives every field in its construction.
// Afterwards only the cross-linking of item names rewrites its section lines. It knows nothing
// of HTML files: the html/ stages read its fields.
#pragma once

#include <array>
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

class CSylItem {
  public:
    // An item with every field empty and no sections filled; for building items field by field.
    explicit CSylItem(CZTScanSource* owner);
    // Keeps the owner, the declaration and the time, and derives every field from them and from
    // the block's lines (Init). `messages` hears of a missing owner; nothing else uses it.
    CSylItem(CZTScanSource* owner, std::string declaration, const CZTStringArray& blockLines,
             CZTTime sourceTime, Prompter* messages = nullptr);
    CSylItem(const CSylItem&) = delete;
    CSylItem& operator=(const CSylItem&) = delete;
    virtual ~CSylItem();

    // Derives every field, in dependency order: name, safe name, member name, page names,
    // sections, group and sort key, short description, type label. The page name depends on the
    // names already in the owner's item list. Returns 0, or -1 (fields left empty, `messages`
    // warned when given) when `owner` is null.
    int Init(CZTScanSource* owner, std::string declaration, const CZTStringArray& blockLines,
             CZTTime sourceTime, Prompter* messages = nullptr);

    // The section list of a SectionKind, or null for any other index.
    CZTStringArray* GetSection(int index);
    const CZTStringArray* GetSection(int index) const;

    CZTScanSource* owner = nullptr;  // not owned
    std::string name;
    std::string safeName;
    int hasSyntax = 0;
    CZTTime sourceTime;
    std::string shortDesc;
    std::string group;
    std::string memberName;
    std::string sortKey;
    std::string pagePath;
    std::string pageFile;
    // The run-wide number in a numbered page's name; -1 for the plain page "SYLVA_<name>.html".
    int pageNumber = -1;
    std::string declaration;
    std::string typeLabel;
    int accessRank = 0;
    int isPublic = 0;
    int hasParamTable = 0;
    std::array<CZTStringArray, kSectionCount> sections;

    // The names the See also lines give, as the links show them (in line order); filled when the
    // lines become links, so that the run can warn of links to pages it does not write.
    std::vector<std::string> seeAlsoNames;

    // Where the block's start marker stands, for messages that point at the source.
    std::string sourceFile;
    int sourceLine = 0;

    // Gives the item the plain page name of its name. For the first surviving item of a name
    // whose plain page's item the run dropped: links by name lead to the plain page.
    void UsePlainPageName();

  private:
    // Chooses the page file, numbered with the owner's run-wide duplicateCounter when an item of
    // the same name is already listed.
    void MakePageNames();
    void SetPageFile(std::string file);
    void SetGroupAndSortKey();
    void MakeShortDescription();
};

// The name of an item whose block has no declaration.
inline constexpr std::string_view kUntitledName = "__Untitled";

// True iff `declaration` holds nothing but line feeds and spaces: its item is named
// kUntitledName.
bool DeclaresNothing(std::string_view declaration);

// The part of a qualified name between its first "::" and the next one (or the end); the whole
// name when it holds no "::". "A::B::C" gives "B".
std::string SplitClassMember(const std::string& name);

}  // namespace sylva
