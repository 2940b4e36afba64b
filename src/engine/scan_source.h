// CZTScanSource: the generator. One action creates one, uses it and destroys it.
//
// It holds the settings (markers, headings, keyword lists, type words, fonts, templates), the
// inputs of one run with the file names derived from them, the master index records and the
// documentation items. The stages of a run (scan/, html/) work on its public fields; only the
// configuration load changes settings, and nothing of them is ever written back to disk.
#pragma once

#include <array>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "engine/run_options.h"
#include "engine/settings.h"
#include "support/diagnostic_sink.h"
#include "support/ordered_work.h"
#include "support/protocol.h"
#include "support/zt_string_array.h"
#include "support/zt_time.h"

namespace sylva {

class CSylItem;
class Prompter;
class SectionKeywords;

// False for the names that would address the output directory itself or its parent: "", "."
// and "..".
bool IsUsableDirectoryName(std::string_view name);

class CZTScanSource {
  public:
    // Every setting takes its default.
    CZTScanSource();
    // Every setting takes its default, then `configPath` is loaded over them with no protocol.
    explicit CZTScanSource(const std::string& configPath);
    CZTScanSource(const CZTScanSource&) = delete;
    CZTScanSource& operator=(const CZTScanSource&) = delete;
    virtual ~CZTScanSource();

    // Gives every empty setting its default; a setting that holds any text keeps it.
    void SetDefaults();

    // Loads the configuration file `path` over the current settings (see config_file.cpp). Sets
    // `protocol` first. Returns true when a file (the named one or "SYLVA.INI") was read.
    bool LoadConfig(const std::string& path, CZTListBox* protocolList);

    const std::string& Setting(SettingId id) const { return settings_[id]; }
    void SetSetting(SettingId id, std::string value) {
        settings_[id] = std::move(value);
        ++settingsGeneration_;
    }
    // The section keyword lists of the current settings, prepared for matching. Prepared anew on
    // the first call after a change of the settings; a call while the settings are unchanged only
    // reads, so threads may share it.
    const SectionKeywords& Keywords() const;

    // --- The generation run (engine/run.cpp) ---

    // Stores the run's inputs, derives the project's file names and directory, and calls the
    // stages in order: scan, clean-up, cross-linking, description pages, project index, master
    // index. Returns 0, or -1 when the master index name holds a path and nothing was done.
    int Run(const std::string& scanPathArg, const std::string& masterIndexNameArg,
            const std::string& projectNameArg, const std::string& outputPathArg,
            const std::string& filterArg, const std::string& projectDescArg,
            CZTListBox* protocolList, CZTProgressDlg* progressDlg, int typePublicArg,
            int typePrivateArg, const RunOptions& runOptions);
    // Sets the three project page paths and creates the project directory; returns the path of
    // the project index page.
    std::string MakeProjectPageNames(const std::string& name, const std::string& output);
    // Empties the slots of items of the kinds the run does not create; returns 1. When the item
    // holding a name's plain page is dropped, the first surviving item of that name takes the
    // plain page, so that links by name still reach a written page.
    int CleanItemList();
    // Warns of every See also name of a listed item that names no listed item (an empty one
    // included): its link would lead to a page the run does not write. In item order.
    void CheckSeeAlsoNames();

    // --- Scanning (scan/) ---

    // Scans `directory` (and, when `recurse`, its subdirectories) and returns the number of files
    // scanned directly in it.
    int ScanPath(const std::string& directory, bool recurse);
    // Scans one file; returns the number of items created, or -1 when it cannot be opened.
    int ScanFile(const std::string& path, CZTTime lastWrite);
    // Scans `content` as the bytes of a file at `displayPath`, with the same protocol, progress
    // and items as ScanFile; returns the number of items created.
    int ScanBuffer(std::string_view content, const std::string& displayPath, CZTTime lastWrite);
    // A copy of a scanned file's path that lives as long as the generator, for the items of that
    // file to point at.
    std::string_view KeepSourceName(std::string path);
    bool IsBlockStart(std::string_view line) const;
    bool IsBlockEnd(std::string_view line) const;

    // --- The item list (scan/item_list.cpp) ---
    //
    // Invariant: outside a scan, `items` is in ascending byte order of the items' sort keys, equal
    // keys in creation order. During a scan new items are appended and the order is restored
    // once, by SortItems, when the top-level ScanPath ends: filing each item at its place would
    // cost a linear move per item on large trees, and nothing reads the order during a scan.

    // Takes ownership of a new item and appends it; returns its slot. REQUIRES: SortItems before
    // the list is read in order.
    int AddItem(std::unique_ptr<CSylItem> item);
    // Brings `items` into sort-key order (stable: equal keys keep their creation order).
    void SortItems();
    // Deletes the item of `slot` and leaves the slot empty.
    void RemoveItem(std::size_t slot);
    // True when a non-empty slot of `items` holds an item whose name equals `name` exactly.
    bool IsPageNameUsed(std::string_view name) const;
    // REQUIRES for AddItem and RemoveItem: a listed item's name does not change.

    // --- HTML output (html/) ---

    int WriteDescriptionPages();
    int CrossLinkSections();
    // Writes the project index page and the index frame, then the frame set page.
    int WriteProjectIndex();
    // WriteDescriptionPages, then WriteProjectIndex, with the same protocol, progress and files;
    // with more than one thread the index pages are written while the description pages are.
    void WritePages();
    int WriteFrameSet(const std::string& name);
    // Appends the records of the master index at `path` to `records`; returns how many.
    int ReadMasterIndex(CZTStringArray& records, const std::string& path);
    // Adds or replaces the project's record and rewrites the master index; an empty `linkTarget`
    // means the project's own frame set page. Returns the number of records written, or -1.
    int AddToMasterIndex(CZTStringArray& records, const std::string& indexName,
                         const std::string& name, const std::string& linkTarget,
                         const std::string& description, const std::string& output);
    // Removes the project's record and rewrites the master index; returns the number of records
    // written, 0 when nothing was written, -1 when the file could not be written.
    int RemoveFromMasterIndex(const std::string& indexName, const std::string& name,
                              const std::string& output);

    // --- Reporting ---

    // Protocol and progress, each a no-op when nobody listens.
    void Protocol(std::string_view line) const;
    // A protocol line for a failure that makes the run incomplete (a page, an index or the master
    // index not written, the scan path not read); counted in `failureCount`.
    void ProtocolFailure(std::string_view line);
    // A warning about line `line` of the source `file`: counted in `warningCount`, then handed to
    // `diagnostics`, or, when there is none, added as the protocol line
    // "    WARNING: <file>:<line>: <text>".
    void Warning(std::string_view file, int line, std::string_view text);
    void ProgressStatus(std::string_view text) const;
    // Hands `progressPos` to the progress dialog, then adds 1 to it.
    void AdvanceProgress();

    // --- Run fields, read and written directly by the stages ---
    int duplicateCounter = 0;
    CZTListBox* protocol = nullptr;      // not owned; none in batch mode
    CZTProgressDlg* progress = nullptr;  // not owned
    int progressPos = 0;
    std::vector<std::unique_ptr<CSylItem>> items;  // a null slot is an item removed by the run
    std::string outputPath;
    std::string projectName;
    std::string projectDirName;
    std::string scanPath;
    std::string projectIndexFile;
    std::string frameFile;
    std::string frameIndexFile;
    CZTStringArray masterEntries;
    std::string masterIndexName;
    std::string projectDesc;
    int typePrivate = 0;
    int typePublic = 0;
    std::string filter;
    RunOptions options;

    // Where messages for the user go when there is no other way to report them; may be none.
    Prompter* prompter = nullptr;
    // Failures reported with ProtocolFailure during this generator's life.
    int failureCount = 0;
    // Where warnings go instead of the protocol; not owned, may be none.
    DiagnosticSink* diagnostics = nullptr;
    // Warnings given with Warning during this generator's life.
    int warningCount = 0;
    // Threads that build the description pages and derive the texts to link, the calling thread
    // included; with 1 everything runs on the calling thread. Either way the protocol, the
    // warnings, the progress and the files come out the same.
    int threadCount = DefaultThreadCount();
    // Directories listed and files handed to ScanFile by this run (subdirectories and their files
    // included), for its closing protocol line.
    int scannedPaths = 0;
    int scannedFiles = 0;

  private:
    void GivePlainPagesToSurvivors(const std::unordered_set<std::string>& names);

    std::array<std::string, kSettingCount> settings_;
    // Changes with every change of the settings.
    unsigned settingsGeneration_ = 0;
    mutable std::unique_ptr<SectionKeywords> sectionKeywords_;
    mutable unsigned keywordsGeneration_ = 0;
    // How many non-empty slots hold an item of each name; kept by AddItem and RemoveItem.
    // Invariant: a key views the name of a listed item or an entry of retiredNames_.
    std::unordered_map<std::string_view, int> liveNames_;
    // Names of deleted items that other listed items share.
    std::deque<std::string> retiredNames_;
    std::deque<std::string> sourceNames_;
};

}  // namespace sylva
