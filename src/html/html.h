// The html layer: what a project's pages are called and what they hold.
//
// It reads the items of a scan (scan/items.h) and writes, into the project's directory, one
// description page per item, the project index, the index frame and the frame set, and keeps the
// master index of the output directory. Every HTML text, every link target and every page-name
// rule lives here. It does not know the run that calls its stages in order (engine/engine.h).
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "scan/items.h"
#include "support/digest.h"
#include "support/output_sink.h"
#include "support/reporter.h"
#include "support/run_options.h"
#include "support/status.h"
#include "support/zt_string_array.h"

namespace sylva {

// ---------------------------------------------------------------------------------------------
// The project

// One project's names and the paths of its own pages. Made only by MakeProject, which refuses
// the names that would write outside the output directory.
struct Project {
    std::string name;  // as entered; the pages show it
    std::string description;
    std::string outputPath;     // the output directory, without trailing "/"
    std::string directoryName;  // ProjectDirectoryName(name)
    std::string masterIndexName;
    std::string indexPage;       // "<out>/<dir>/<dir>.HTML"
    std::string frameIndexPage;  // "<out>/<dir>/<dir>_frameidx.HTML"
    std::string framePage;       // "<out>/<dir>/<dir>_frame.HTML"

    // "<out>/<dir>": where the project's pages go.
    std::string Directory() const { return outputPath + "/" + directoryName; }
};

// Why MakeProject refused: a master index name that holds a path would write outside the output
// directory; a directory name of "", "." or ".." would put the pages into the output directory
// itself or into its parent, and one too long for its pages' file names could hold no page.
enum class ProjectRefusal { kMasterIndexNameWithPath, kUnusableDirectoryName };

// The project of these names, or why there can be none. The master index name is checked first.
[[nodiscard]] std::variant<Project, ProjectRefusal> MakeProject(std::string name,
                                                                std::string description,
                                                                std::string_view outputPath,
                                                                std::string masterIndexName);

// The name of a project's directory and pages: `projectName` with every character that may not
// stand in a file name replaced by "_".
std::string ProjectDirectoryName(std::string_view projectName);
// False for the directory names that would address the output directory itself or its parent
// ("", "." and ".."), and for those too long for the file names of the project's own pages.
bool IsUsableDirectoryName(std::string_view directoryName);
// True when a master index name holds a path ("/"); only a plain file name in the output
// directory is accepted.
bool HoldsPath(std::string_view masterIndexName);

// Makes the project's directory and every missing one above it; fails, with the reason, when it
// is not a directory afterwards.
[[nodiscard]] Status CreateProjectDirectory(const Project& project);

// ---------------------------------------------------------------------------------------------
// The project's pages

// What building one item's page gave beyond the page itself: what the stages told of it and what
// the search index holds of it. A later run that finds the page fresh tells and files this
// instead of building the page again.
struct PageRecord {
    std::vector<std::string> linkWarnings;  // the cross-linking stage's, in order
    std::string typeLabel;                  // as the protocol names it
    std::string searchEntry;                // its search index entry, encoded; empty without
    // Its brief as the project index shows it: built with the page, so that the page's lookups
    // also cover the brief's, and an index rebuilt for another item's sake takes it from here.
    std::string indexBrief;
    friend bool operator==(const PageRecord&, const PageRecord&) = default;
};
std::string EncodePageRecord(const PageRecord& record);
// Nothing when the bytes hold no record (a damaged cache).
std::optional<PageRecord> DecodePageRecord(std::string_view bytes);

// What the page stages ask of a run that keeps what earlier runs built. Called on the stages'
// calling thread only, but for Fresh and IndexFresh: what they answer is settled before the
// stages begin, so any thread may ask them.
class PageMemo {
  public:
    virtual ~PageMemo() = default;
    // What building the page of `item` gave the last run, when building it again would give the
    // same page, which is still in place; null when the page must be built.
    virtual const PageRecord* Fresh(const CSylItem& item) const = 0;
    // What building the page at the path of `item` gave the last run, whatever the item was;
    // null when it had none.
    virtual const PageRecord* Previous(const CSylItem& item) const = 0;
    // The cross-linking stage read the text of `item`, which was not fresh, looking up `lookups`.
    virtual void Linked(const CSylItem& item, std::vector<std::string> warnings,
                        const NameLookups& lookups) = 0;
    // The page of `item`, which was not fresh, was built, looking up `lookups`.
    virtual void Built(const CSylItem& item, PageRecord record, const NameLookups& lookups) = 0;
    // True when the project index and the index frame are as the last run wrote them from the
    // same items and settings, and still in place.
    virtual bool IndexFresh() const = 0;
    // True when the search index, whose entries in order have the digest `entries`, is as the
    // last run wrote it and still in place; the run then keeps its files. Remembers `entries`.
    virtual bool SearchIndexFresh(const Digest& entries) = 0;
};

class CaseFoldedNames;
class ScopeIndex;

// Answers recorded name lookups again on the item list as it is now: a page built from a list
// that answers every lookup of its building alike comes out the same.
class LookupCheck {
  public:
    // `scopes`: those of this run's paged items. REQUIRES: both outlive the check.
    LookupCheck(const ItemList& items, const ScopeIndex& scopes);
    LookupCheck(const LookupCheck&) = delete;
    LookupCheck& operator=(const LookupCheck&) = delete;
    ~LookupCheck();

    // True when every lookup of the log `encoded` (NameLookups::Encode) gets the answer it got;
    // false also when the record is damaged. Safe to call from several threads at once.
    bool Holds(std::string_view encoded) const;

  private:
    bool Answers(NameLookups::Kind kind, std::string_view name, std::string_view answer) const;

    const ItemList& items_;
    const ScopeIndex& scopes_;
    std::unique_ptr<const CaseFoldedNames> folded_;
};

// Reads the text each description page derives, so that a reader of every item's text (the
// model file) need not derive it once more. Read runs on the threads that build the pages, any
// number at once; Take runs on the calling thread once per page, in the order of the pages.
class PageTextReader {
  public:
    virtual ~PageTextReader() = default;
    // What `item`'s derived `text` gives the reader; `text` is null when the page was fresh and
    // its text was not derived. The name lookups it makes are no part of the page.
    virtual std::string Read(const CSylItem& item, const ItemText* text) = 0;
    // Takes what Read gave for `item`.
    virtual void Take(const CSylItem& item, std::string read) = 0;
};

// What the page stages read and where they report.
struct PageJob {
    const Settings& settings;
    const RunOptions& options;
    const Project& project;
    const ItemList& items;
    Reporter& reporter;
    // The item kinds the run writes (the window's "Type to create").
    int typePublic = 1;
    int typePrivate = 1;
    // Threads that build pages and derive texts, the calling thread included; with 1 everything
    // runs on the calling thread. Either way the files, protocol, warnings and progress are the
    // same.
    int threadCount = 1;
    // Where the files go; none: each is written as it comes (DirectOutput).
    OutputSink* output = nullptr;
    // What earlier runs built; none: every page is built.
    PageMemo* memo = nullptr;
    // The directory the sources were scanned in, without trailing "/": a page of the doxygen
    // style names its item's header by the path below it.
    std::string_view scanPath = {};
    // Told of the text of each description page; none: nobody.
    PageTextReader* textReader = nullptr;
    // The scope index of the items with pages (ItemsWithPages, in that order), when the run has
    // one already; none: the description pages build their own.
    const ScopeIndex* scopes = nullptr;

    OutputSink& Output() const { return output != nullptr ? *output : DirectOutput(); }
};

// The tag file of `items` (those of the doxygen style): each class, struct, union, namespace, file,
// group and page with its page, and each function, enumeration, typedef, variable and macro with
// its page, its type and its argument list, in the order of kind and name. Page addresses are
// relative to the project's directory.
std::string TagFileText(const ItemList& items);

// The cross-linking stage: a documented item's name in double quotes, in any section but See
// also, becomes a link to that item's page when the page is built. This stage reports its
// progress and warns of quoted texts that name an item only when letter case is ignored.
void CrossLink(PageJob& job);

// The progress status while an item's page is written ("%s": the item's name); one per page.
inline constexpr std::string_view kDescriptionPageStatus = "Generate html description file %s...";

// One page per item that passes the type filter; returns how many were written.
int WriteDescriptionPages(PageJob& job);

// The project index page and the index frame, then the frame set page. Returns the number of
// slots of the item list, or -1 when an index page could not be created (then no frame set).
int WriteProjectIndex(PageJob& job);

// WriteDescriptionPages, then WriteProjectIndex, with the same protocol, progress and files;
// with more than one thread the index pages are written while the description pages are.
void WritePages(PageJob& job);

// ---------------------------------------------------------------------------------------------
// The master index
//
// The page in the output directory that lists every project generated there, and at the same
// time the only record of which projects exist: one record line per project between the index
// markers. A change locks it from reading to replacing, and replaces it whole.

// "<outputPath>/<indexName>".
std::string MasterIndexPath(std::string_view outputPath, std::string_view indexName);

// Appends the records of the master index at `path` to `records`. Returns their number (0 when
// there is no page), or nothing when a page exists but cannot be read whole.
[[nodiscard]] std::optional<int> ReadMasterIndex(const Settings& settings, Reporter& reporter,
                                                 const std::string& path, CZTStringArray& records);

// A project's record.
struct MasterIndexEntry {
    std::string name;
    // Where the record links to; empty for the project's own frame set page.
    std::string linkTarget;
    std::string description;
};

// The output directory's entry page, which leads to its master index.
inline constexpr std::string_view kSiteEntryFile = "index.html";

// Adds or replaces the record of `entry` in the master index `indexName` of `outputPath`, which
// is read, changed and written anew. Returns the number of records written, or -1 when nothing
// was written. Once the master index stands, the directory's entry page "index.html" leads to it
// (WriteSiteEntry).
[[nodiscard]] int AddToMasterIndex(const Settings& settings, Reporter& reporter,
                                   const std::string& outputPath, const std::string& indexName,
                                   const MasterIndexEntry& entry);

// Removes the record of project `name` and writes the master index anew. Returns the number of
// records written, 0 when nothing was written, -1 when the page could not be read or written.
[[nodiscard]] int RemoveFromMasterIndex(const Settings& settings, Reporter& reporter,
                                        const std::string& outputPath, const std::string& indexName,
                                        const std::string& name);

// The separators of a record's fields: the project name, link target and description are read
// back at every ";" (a ";" in the description makes further fields); the Projects list also
// splits its columns at every "|".
inline constexpr std::string_view kRecordFieldSeparators = ";";
inline constexpr std::string_view kRecordColumnSeparators = ";|";

// The fields a record keeps for reading back, as the default templates write it: the part between
// "<!--DESC:" and "DESCEND-->", cut at every byte of `separators`.
std::vector<std::string> MasterRecordFields(std::string_view record,
                                            std::string_view separators = kRecordFieldSeparators);

}  // namespace sylva
