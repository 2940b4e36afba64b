// The engine: the configuration file, and the generation run that turns one project's inputs
// into its pages by calling the stages of the scan and html layers in their fixed order.
//
// It reports through a Reporter only; the window, batch mode and the tests each bring their own
// sinks. Nothing here knows a toolkit or a terminal.
#pragma once

#include <optional>
#include <string>

#include "html/html.h"
#include "scan/items.h"
#include "support/ordered_work.h"
#include "support/protocol.h"
#include "support/reporter.h"
#include "support/run_options.h"

namespace sylva {

// The standard configuration file, looked for in the current directory.
inline constexpr const char* kConfigFileName = "SYLVA.INI";

// Loads the configuration file `path` over `settings`: the settings it names are replaced, all
// others keep their values. When `path` cannot be opened, "SYLVA.INI" in the current directory
// is tried instead (unless `path` is that name); failures are told as protocol lines when there
// is a `protocol`. When no file could be read, every empty setting gets its default and the
// result is false. With `warnings`, each file read warns once of its lines that set no known
// key (comments and blank lines aside) and once of values a key cannot take, each warning
// counting them and naming the first few with their line numbers; such lines are skipped (and
// such values kept) all the same.
bool LoadConfig(Settings& settings, const std::string& path, CZTListBox* protocol,
                Reporter* warnings = nullptr);

// Where a run keeps what it needs to cost only what changed next time (engine/run_cache.h).
struct CacheChoice {
    // The cache directory; empty: DefaultCacheDirectory().
    std::string directory;
    // Reads every file and builds every page as though there were no cache, and keeps the new
    // cache.
    bool rebuild = false;
};

// The environment variable that names the cache directory.
inline constexpr const char* kCacheDirectoryVariable = "SYLVA_CACHE_DIR";

// $SYLVA_CACHE_DIR when set, else "sylva" below $XDG_CACHE_HOME, else ~/.cache/sylva; empty when
// none of them can be named.
std::string DefaultCacheDirectory();

// What a run did, for a line that tells it.
struct RunSummary {
    int items = 0;          // items documented, each with its description page
    int sourcesRead = 0;    // source files read
    int sourcesReused = 0;  // source files whose earlier reading was used
    int pagesBuilt = 0;     // description pages built
    int filesWritten = 0;   // files of the project written (the others already held their bytes)
    int filesRemoved = 0;   // files of the last run that this one no longer writes
    int binarySkipped = 0;  // files skipped as binary (a NUL byte near their start)
    // Nothing had changed since the last run: what it told was told again, and nothing was read,
    // built or written.
    bool unchanged = false;
};

// What a run has made of its items once they are cleaned, for a reader of the whole project (the
// model file, coverage) that needs every item with its page name. From then on the items stay as
// they are while the pages are written.
struct FinishedItems {
    const ItemList& items;
    const Settings& settings;
    const RunOptions& options;
    const Project& project;
    CommentStyle style;
    int threadCount;
};

// Told of the finished items of a run, on the run's thread; it reports its own failures.
class ItemsObserver {
  public:
    virtual ~ItemsObserver() = default;
    // False when it would do nothing with the items: a run that finds nothing changed then need
    // not make them.
    virtual bool NeedsItems() const = 0;
    // Before the pages are built, in every run that calls ItemsFinished: who reads the texts the
    // pages derive, or null. `finished` is what ItemsFinished will be told.
    virtual PageTextReader* PagesStarting(const FinishedItems& finished) = 0;
    // After the pages are written.
    virtual void ItemsFinished(const FinishedItems& finished) = 0;
};

// The inputs of one generation run.
struct RunInputs {
    std::string scanPath;
    std::string masterIndexName;
    std::string projectName;
    std::string outputPath;
    std::string filter;  // the extension list, in any case
    std::string projectDesc;
    // The item kinds to create (the window's "Type to create").
    int typePublic = 1;
    int typePrivate = 0;
    // Threads that build pages and derive texts, the calling thread included.
    int threadCount = DefaultThreadCount();
    CacheChoice cache{};
    // Where the run tells what it did; none: nobody asks.
    RunSummary* summary = nullptr;
    // Told of the items after the pages are written; none: nobody.
    ItemsObserver* observer = nullptr;
};

enum class RunResult {
    kRan,      // every stage ran; the reporter counts what failed
    kRefused,  // the master index name holds a path, the project name gives no usable
               // directory name, the comment style is unknown, the scan path is no directory or
               // a tag file to read is none: nothing was scanned or written
};

// Why `scanPath` cannot be scanned ("Scan path x does not exist."); nothing when it is a
// directory. A run over such a path would replace the project's pages with an empty project, so
// it is refused before anything is written.
std::optional<std::string> ScanPathProblem(const std::string& scanPath);

// Derives the project's names from `inputs`, makes its directory and calls the stages in order:
// scan, clean-up, See also check, cross-linking (when the options ask), description pages and
// project index, master index (when a name is given). No stage's result decides whether a later
// stage runs; each reports its own failures.
[[nodiscard]] RunResult Run(const RunInputs& inputs, const Settings& settings,
                            const RunOptions& options, Reporter& reporter);

// Empties the slots of items of the kinds the run does not create. When the item holding a
// name's plain page is dropped, the first surviving item of that name takes the plain page, so
// that links by name still reach a written page.
void CleanItemList(ItemList& items, int typePublic, int typePrivate, Reporter& reporter);

class RunCache;

// Warns of every See also name of a listed item that names no listed item (an empty one
// included): its link would lead to a page the run does not write. In item order. With a cache,
// the warnings of a fresh page are those the last run gave.
void CheckSeeAlsoNames(const ItemList& items, const Settings& settings, const RunOptions& options,
                       Reporter& reporter, int threadCount, RunCache* cache = nullptr);

}  // namespace sylva
