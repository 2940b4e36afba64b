// Documentation items and the item list of a run. An item keeps the text of its block as it was
// found and derives what its page shows on demand, as neutral data (ItemText: plain section
// lines, parameter rows, type words) that the html layer renders. Nothing here writes HTML or
// names a page file.
#pragma once

#include <array>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "scan/settings.h"
#include "support/byte_codec.h"
#include "support/digest.h"
#include "support/run_options.h"
#include "support/warning_kind.h"
#include "support/zt_string_array.h"
#include "support/zt_time.h"

namespace sylva {

struct DoxygenItem;
class DocumentedItems;
class ExternalNames;

// What an item of the doxygen style is (one of the marker-block style is kOther).
enum class DoxygenKind : unsigned char {
    kFunction,  // also methods, operators, constructors and destructors
    kClass,
    kStruct,
    kUnion,
    kEnum,
    kTypedef,  // typedef and using aliases
    kVariable,
    kMacro,
    kNamespace,
    kGroup,     // a defgroup (or a documented addtogroup): `name` is its label
    kFile,      // a file comment: `name` is the file the comment names, or empty
    kPage,      // a page comment: `name` is the page's label
    kMainPage,  // the main page comment: `name` is empty
    kOther,     // a comment without a declaration it could name, or one Sylva cannot name
};

// The name of `kind` as outputs that list items write it: "function", ..., "mainPage", "other".
std::string_view DoxygenKindName(DoxygenKind kind);

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

  private:
    Lists lists_;
};

// One documented thing (function, class, structure, macro, any declaration): what one
// documentation block and the declaration beside it say. Only an ItemList makes items, from the
// blocks the scan finds.
//
// The index fields are derived when the item is made; the text its page shows is derived again
// whenever it is asked for (DeriveItemText), so that a run over a large tree holds no page text.
class CSylItem {
  public:
    CSylItem(const CSylItem&) = delete;
    CSylItem& operator=(const CSylItem&) = delete;

    // The part of a qualified name after its first "::" and before the next one; the whole name
    // when it holds none. "A::B::C" gives "B".
    std::string MemberName() const;
    // The declaration as found, leading line feeds and spaces removed ("__Untitled" when empty).
    std::string_view Declaration() const {
        return std::string_view(sourceText_).substr(0, declarationSize_);
    }
    // The block's lines, in the form of scan/block_text.h. For an item of the doxygen style each
    // line is already sorted: it opens with its section (or a row's mark) and holds rich text.
    std::string_view BlockText() const {
        return std::string_view(sourceText_).substr(declarationSize_);
    }

    // Gives the item the plain page of its name: for the first surviving item of a name whose
    // plain page's item the run dropped, so that links by name still reach a written page.
    void UsePlainPageName() { pageNumber = -1; }

    // The group as pages show it: its title, else what `group` holds.
    std::string_view ShownGroup() const { return groupTitle.empty() ? group : groupTitle; }

    // Every field, the private ones included: the cache's round trip is checked with it.
    friend bool operator==(const CSylItem&, const CSylItem&) = default;

    std::string name;
    // The group the index lists the item under. For an item of the doxygen style it is the
    // label of its group ("@defgroup label Title"), which leads to the group's page: titles
    // need not differ from group to group, labels do.
    std::string group;
    // The title of that group of the doxygen style once every file is read (UseGroupTitles);
    // empty when none gave one, and for the default style.
    std::string groupTitle;
    CZTTime sourceTime;
    // Where the block's start marker stands, for messages that point at the source. The text is
    // owned by the item list, one copy per file.
    std::string_view sourceFile;
    // The numbers stand together, so that an item takes no room for alignment between them.
    int sourceLine = 0;
    // Where the declaration it documents starts, when the reader found it; 0 otherwise.
    int declarationLine = 0;
    int hasSyntax = 0;  // 1 when the declaration has a parameter list or a body
    // The run-wide number of the item's page among the items of a repeated name; -1 for the
    // plain page of its name.
    int pageNumber = -1;
    int accessRank = 0;  // 100 public-like, 200 private-like
    int isPublic = 0;
    // How its block was written: its section lines are HTML as written (kSylva) or rich text
    // (kDoxygen, scan/rich_text.h).
    CommentStyle style = CommentStyle::kSylva;
    DoxygenKind kind = DoxygenKind::kOther;

  private:
    friend class ItemList;
    friend class DocumentedItems;
    friend struct ItemFields;
    CSylItem() = default;
    void ReplaceSourceText(std::string text, std::size_t declarationSize) {
        sourceText_ = std::move(text);
        declarationSize_ = declarationSize;
    }

    // The declaration, then the block's lines.
    std::string sourceText_;
    std::size_t declarationSize_ = 0;
};

// A public declaration of a header file that the reader of the doxygen style saw, documented or
// not: what the coverage counts are made of.
struct SeenDeclaration {
    int line = 0;
    DoxygenKind kind = DoxygenKind::kOther;
    std::string name;   // qualified, as an item of it would be named
    std::string space;  // the innermost enclosing namespace; empty: the global one
    std::string group;  // the group an item of it would be in; empty: none
    bool documented = false;
    friend bool operator==(const SeenDeclaration&, const SeenDeclaration&) = default;
};

// The group of an item that names none.
inline constexpr std::string_view kDefaultGroupName = "Common";

// The name of an item whose block has no declaration.
inline constexpr std::string_view kUntitledName = "__Untitled";

// One row of a parameter table: from the "//" comments of a declaration's parameter list (or a
// structure's members), or from a documentation comment's parameter commands and member comments.
struct ParameterRow {
    std::string name;
    std::string comment;  // rich text for an item of the doxygen style
    // "in", "out", "in,out" or empty; what a documentation comment says of the parameter.
    std::string direction;
    // A data member's type and what its declaration writes behind its name (bounds, bit-field
    // width, an enumerator's value); empty for a parameter and in the default style.
    std::string type = {};
    std::string tail = {};
};

// What an item's page shows beyond its index fields, as neutral data: the html layer renders it.
struct ItemText {
    // The declaration as the page shows it: the comments of the parameter table shortened or
    // removed as the run options ask.
    std::string declaration;
    // The block's lines by section, unchanged; the History section ends with the source's date
    // when the options ask for it.
    SectionLists sections;
    // True when the Parameter section is the table of `parameterRows`, built from the
    // declaration; sections[kSectionParameter] is then empty.
    bool hasParamTable = false;
    std::vector<ParameterRow> parameterRows;
    // The documented template parameters of an item of the doxygen style.
    std::vector<ParameterRow> templateRows;
    // The type words the Doc type lines give, as the type caption shows them ("Public
    // Constructor").
    std::string typeText;
};

// The page text of `item`, derived from its declaration and block with `settings` and
// `options`. Safe to call from several threads at once.
ItemText DeriveItemText(const CSylItem& item, const Settings& settings, const RunOptions& options);

// The short description of the index: the first (at most three) Description lines, each trimmed
// and followed by a space, cut at 120 characters with "..."; " " when there are none.
std::string ShortDescription(const CSylItem& item, const Settings& settings);

// The names the See also lines give, in line order, when the options write that section; none
// otherwise. An empty line gives an empty name.
std::vector<std::string> SeeAlsoNames(const CSylItem& item, const Settings& settings,
                                      const RunOptions& options);

// The item name a See also line gives: the line without surrounding spaces and line feeds.
std::string_view SeeAlsoName(std::string_view line);

// ---------------------------------------------------------------------------------------------
// The item list

// What the scan knows of one documentation block.
struct ScannedBlock {
    std::string_view declaration;  // the text above or below the block
    std::string_view blockText;    // its lines, in the form of scan/block_text.h
    CZTTime sourceTime;            // the source file's last write time
    std::string_view sourceFile;   // kept by the list (KeepSourceName)
    int sourceLine = 0;            // of the start marker
};

// The items of a run, with the tables that look them up by name.
//
// Invariant: outside a scan the slots are in ascending byte order of the items' sort keys
// (group, "-", name), equal keys in the order the items were made. During a scan new items are
// appended and Sort restores the order once at its end: filing each at its place would cost a
// linear move per item on large trees. A slot is empty (null) after Remove.
class ItemList {
  public:
    using Slot = std::unique_ptr<CSylItem>;

    ItemList();
    ItemList(const ItemList&) = delete;
    ItemList& operator=(const ItemList&) = delete;
    ~ItemList();

    // Makes the item of `block` and appends it. Its page is numbered with the run-wide counter
    // when an item of the same name is listed already. REQUIRES: Sort before the list is read in
    // order.
    CSylItem& Add(const Settings& settings, const ScannedBlock& block);
    // The same for an item a documentation comment of the doxygen style gives; `block` names
    // where it stands (its declaration and block text are not read).
    CSylItem& Add(const Settings& settings, const DoxygenItem& documented,
                  const ScannedBlock& block);
    // Finishes the items of the doxygen style once every file is read: a declaration documented
    // again where it is defined (or twice, in two branches of an "#if") becomes one item with
    // both texts, so do the texts of one group's label from every file (in the order read), and
    // the text "@copydoc", "@copybrief", "@copydetails" and "@overload" name is
    // copied in; an undocumented override takes the text of the member it overrides, and its
    // counted declaration then counts as documented. Calls `warn` for a copy that names no item
    // or would copy itself.
    // REQUIRES: Sort afterwards.
    using Warning =
        std::function<void(std::string_view file, int line, const WarningMessage& message)>;
    void FinishDocumented(const Warning& warn);
    // Gives each group of the doxygen style and the items in it the group's title: the first
    // title a "@defgroup" of its label gave, else the first an "@addtogroup" gave. The items
    // keep the label as their `group`; the group's own item takes the title as its name too.
    // Calls `warn` at each "@defgroup" of a label after its first. REQUIRES: FinishDocumented
    // before, Sort afterwards.
    void UseGroupTitles(const Warning& warn);

    // A group that a documentation comment defined ("@defgroup") or added a text to
    // ("@addtogroup", `defines` false), and where.
    struct GroupDefinition {
        std::string label;
        std::string title;
        std::string_view sourceFile;
        int sourceLine = 0;
        bool defines = true;
    };
    // An image a comment of a file showed: the address as written, what the page shows (the name
    // of the copy beside the pages, a web address, or empty when it is not shown) and the file
    // copied (empty when none is).
    struct ImageLookup {
        std::string written;
        std::string shown;
        std::string found;
        friend bool operator==(const ImageLookup&, const ImageLookup&) = default;
    };
    // Keeps what a comment of the file being scanned showed; a found file is copied beside the
    // pages, once however many comments show it.
    void NoteImage(ImageLookup lookup);
    // The images to copy beside the pages: source path and name of the copy.
    const std::vector<std::pair<std::string, std::string>>& Images() const { return images_; }
    // An example file a comment of a file showed: the name as written, the file read (empty
    // when none was found) and the digest of the bytes read, which the items hold as code.
    struct ExampleLookup {
        std::string written;
        std::string found;
        Digest bytes;
        friend bool operator==(const ExampleLookup&, const ExampleLookup&) = default;
    };
    void NoteExample(ExampleLookup lookup) { exampleLookups_.push_back(std::move(lookup)); }
    // The files besides the sources whose bytes the pages show (the images copied and the
    // examples read), each once: a run is only as fresh as they are.
    std::vector<std::string> ShownFiles() const;
    // A declaration the file being scanned holds, for the coverage counts; `sourceFile` is a
    // name KeepSourceName gave.
    struct CountedDeclaration {
        std::string_view sourceFile;
        SeenDeclaration seen;
    };
    void NoteDeclaration(std::string_view sourceFile, SeenDeclaration seen) {
        declarations_.push_back({sourceFile, std::move(seen)});
    }
    // In the order the files were filed and, within a file, the order of their declarations.
    const std::vector<CountedDeclaration>& Declarations() const { return declarations_; }
    // Brings the slots into sort-key order (stable; empty slots last).
    void Sort();

    // Where the items, group definitions and images of the next file will begin; what a file
    // gave is what was filed after its mark (scan/item_records.h). REQUIRES: no Sort since the
    // mark.
    struct Mark {
        std::size_t slot = 0;
        std::size_t group = 0;
        std::size_t image = 0;
        std::size_t declaration = 0;
        std::size_t example = 0;
    };
    Mark Position() const {
        return {slots_.size(), groups_.size(), imageLookups_.size(), declarations_.size(),
                exampleLookups_.size()};
    }

    // Deletes the item of `slot` and leaves the slot empty.
    void Remove(std::size_t slot);
    // True when a non-empty slot holds an item whose name equals `name` exactly. Groups of the
    // doxygen style are not looked up by their titles: links lead to them by label.
    bool Contains(std::string_view name) const;
    // The name of the listed item whose member table shows the row `name` names ("S::x" for a
    // data member x of the struct S; "E::V" and, outside its enum, the enumerator V of an enum E
    // in the enum's scope), the first filed when several show it; nothing when none does.
    std::optional<std::string> RowHolder(std::string_view name) const;
    // The name of the listed page whose label ("@page" or a Markdown file's) is `label`, the
    // first filed when several share it; nothing when none is listed.
    std::optional<std::string> LabelledName(std::string_view label) const;
    // The listed group of the doxygen style defined by `label` whose page links by label lead
    // to (of several, the one with the plain or lowest-numbered page), or null.
    const CSylItem* LabelledGroup(std::string_view label) const;
    // Names other sites document (scan/tag_file.h), which links fall back on for the names this
    // list does not hold. REQUIRES: `names` outlives the list's lookups; set before the pages.
    void UseExternalNames(const ExternalNames* names) { external_ = names; }
    // The address another site gives `name` ("::" before it ignored), or null.
    const std::string* ExternalAddress(std::string_view name) const;
    // A copy of a scanned file's path that lives as long as the list, for its items to point at.
    std::string_view KeepSourceName(std::string path);

    std::size_t size() const { return slots_.size(); }
    const Slot& operator[](std::size_t slot) const { return slots_[slot]; }
    std::vector<Slot>::const_iterator begin() const { return slots_.begin(); }
    std::vector<Slot>::const_iterator end() const { return slots_.end(); }

  private:
    friend struct ItemFields;
    // Numbers the page of `item` and appends it.
    CSylItem& File(Slot item);

    std::vector<Slot> slots_;
    int duplicateCounter_ = 0;
    // How many non-empty slots hold an item of each name. Invariant: a key views the name of a
    // listed item or an entry of retiredNames_.
    std::unordered_map<std::string_view, int> liveNames_;
    // Names of deleted items that listed items share.
    std::deque<std::string> retiredNames_;
    std::deque<std::string> sourceNames_;
    // The listed groups of each label, in the order filed.
    std::map<std::string, std::vector<const CSylItem*>, std::less<>> labelledGroups_;
    // The groups that documentation comments defined, in the order found.
    std::vector<GroupDefinition> groups_;
    std::vector<ImageLookup> imageLookups_;
    std::vector<std::pair<std::string, std::string>> images_;
    std::unordered_set<std::string> copied_;  // the source paths of images_
    std::vector<ExampleLookup> exampleLookups_;
    // Page labels and the names of their items, the first filed of each label.
    std::unordered_map<std::string, std::string> labels_;
    std::vector<CountedDeclaration> declarations_;
    const ExternalNames* external_ = nullptr;
    // The items whose member tables show each row name, in the order filed.
    std::unordered_map<std::string, std::vector<const CSylItem*>> rowHolders_;
    void NoteRows(const CSylItem& item, bool add);
};

// The names looked up in item lists while one page was built, with what each lookup answered:
// what the page depends on beyond its own item and the run's settings. A thread records its
// lookups while a Recording of it lives; lookups on other threads are not recorded.
class NameLookups {
  public:
    enum class Kind : unsigned char {
        kListed,      // ItemList::Contains; the answer is "1" or empty
        kFolded,      // a listed name equal to the query but for letter case; empty: none
        kLabel,       // ItemList::LabelledName; the answer is the name, or empty
        kGroupLabel,  // ItemList::LabelledGroup; the answer is its page number, or empty
        kRow,         // ItemList::RowHolder; the answer is the holder's name, or empty
        // The paged bases of the class, struct or union of a name, through which a name written
        // with it may lead; the answer is their names, one per line, or empty
        kBases,
        kCount
    };
    struct Lookup {
        Kind kind;
        std::string name;
        std::string answer;
        friend auto operator<=>(const Lookup&, const Lookup&) = default;
    };

    // Adds a lookup to the log of this thread's Recording, when there is one.
    static void Note(Kind kind, std::string_view name, std::string_view answer);

    // Each lookup once, in order.
    std::vector<Lookup> Distinct() const;
    void Merge(const NameLookups& other);

    void Encode(ByteWriter& out) const;
    static std::optional<NameLookups> Decode(ByteReader& in);
    // Reads the lookups of an encoded log, in their order, each to `visit` until it returns
    // false; no log is built. False when `visit` did, or when the record is damaged: it runs
    // short, or does not hold each lookup once and in order, as Encode writes them.
    using Visitor = std::function<bool(Kind kind, std::string_view name, std::string_view answer)>;
    static bool Visit(ByteReader& in, const Visitor& visit);

    // Records the lookups of the calling thread into `log` until it ends.
    class Recording {
      public:
        explicit Recording(NameLookups& log);
        Recording(const Recording&) = delete;
        Recording& operator=(const Recording&) = delete;
        ~Recording();

      private:
        NameLookups* previous_;
    };

  private:
    // The lookups, sorted.
    std::vector<const Lookup*> InOrder() const;
    // Adds the lookup unless the log holds it already.
    void Add(Kind kind, std::string_view name, std::string_view answer);

    // Each lookup once, in the order first made: a page that looks one name up a thousand
    // times keeps it once, and copies it once.
    std::vector<Lookup> lookups_;
    // The places in lookups_ of the lookups of each hash of kind and name.
    std::unordered_multimap<std::size_t, std::size_t> places_;
};

// A function's name written with its parameter list ("f()", "ns::f(int)") without it; any other
// name ("operator()", "T") as it is.
std::string_view WithoutParameterList(std::string_view name);

// The listed name that `name`, written in the text of the item `from`, refers to: `name` itself
// when it is listed; for an item of the doxygen style also `name` within the scopes that hold
// `from` ("Plant" written in "garden::CBed::Water" may mean "garden::CBed::Plant"), the innermost
// first; "f()" of the doxygen style is looked up as "f" (WithoutParameterList). Nothing when
// none is listed.
std::optional<std::string> ResolveName(const ItemList& items, std::string_view name,
                                       const CSylItem& from);

// The label of a group of the doxygen style, which names its page; nothing for any other item.
std::optional<std::string_view> GroupLabel(const CSylItem& item);

// True iff the sort key of `a` orders before that of `b` (byte order), without building either.
bool SortsBefore(const CSylItem& a, const CSylItem& b);

}  // namespace sylva
