// RunCache: what a run keeps between runs of a project, so that a second run costs what changed.
//
// Kept outside the published site, in one SQLite file per project below the cache directory, it
// holds what reading each source file gave, how each page was built (its item, the run's
// settings, every name its building looked up and what that found) and what each output file
// held. A run then reads only the files whose bytes changed, builds only the pages whose inputs
// changed, writes only the files whose bytes changed, and removes the files of the last run that
// it no longer writes.
//
// The cache is never required: a missing, damaged, foreign or unwritable one gives a full run
// with the same output and one protocol line. Runs of one project take turns (a lock on the
// project directory for the whole run), and a run killed at any moment leaves a cache that the
// next run uses correctly or discards.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "engine/engine.h"
#include "engine/kept_output.h"
#include "engine/run_proof.h"
#include "engine/source_memo.h"
#include "support/cache_store.h"
#include "support/file_lock.h"

namespace sylva {

class ScopeIndex;

// What the temporary files of a project's output are named after (UniqueTemporaryPath).
std::string TemporaryBase(const Project& project);

class RunCache : public PageMemo {
  public:
    RunCache(const RunInputs& inputs, const Project& project, const Settings& settings,
             const RunOptions& options, Reporter& reporter);
    ~RunCache() override;

    // True when the last run's proof holds: nothing it depended on changed, and this run need
    // only tell again what that one told (Replay).
    bool Unchanged() const { return unchanged_.has_value(); }
    // Tells the reporter what the last run told, and `summary` (when there is one) what it found.
    void Replay(RunSummary* summary);

    // What the scan asks; null when there is no cache.
    ScanMemo* scanMemo() { return sources_.get(); }
    OutputSink& output() { return *output_; }

    // After the scan and the clean-up: counts the items and judges which pages come out as the
    // last run built them.
    void Judge(const ItemList& items, int threadCount);
    // The scope index of the items Judge was given that the judging built, for the pages to
    // share; null when it built none. Valid while the items stay as they were judged.
    const ScopeIndex* scopes() const { return scopes_.get(); }
    // The digest of the names other sites document, which the pages link to. REQUIRES: before
    // Judge.
    void UseExternalNames(const Digest& names) { externalNames_ = names; }

    // The See also check of a page: the warnings the last run gave when the page is fresh (null
    // otherwise), and those of a page checked anew with the names it looked up.
    const std::vector<std::string>* FreshSeeAlsoWarnings(const CSylItem& item) const;
    void SeeAlsoChecked(const CSylItem& item, std::vector<std::string> warnings,
                        const NameLookups& lookups);

    const PageRecord* Fresh(const CSylItem& item) const override;
    const PageRecord* Previous(const CSylItem& item) const override;
    void Linked(const CSylItem& item, std::vector<std::string> warnings,
                const NameLookups& lookups) override;
    void Built(const CSylItem& item, PageRecord record, const NameLookups& lookups) override;
    bool IndexFresh() const override { return indexFresh_; }
    bool SearchIndexFresh(const Digest& entries) override;

    // After the last stage: removes the files the run no longer writes; tells `summary` (when
    // there is one) what the run did, which scanned `filesScanned` files.
    void Finish(RunSummary* summary, int filesScanned);
    // After the run's last line: keeps the records and, unless something is in doubt, the proof
    // that lets the next run skip everything when nothing changes.
    void Store();

  private:
    struct PageState;

    // Opens the store of the project below `directory`, or tells why there is none.
    void Open(const std::string& directory);
    void Discard(std::string_view line, const std::string& reason);
    // Reads the last run's records of the output files, judging each page as it comes.
    void LoadPrevious(const std::optional<LookupCheck>& check, int threadCount);
    PageState* StateOf(const CSylItem& item);
    const PageState* StateOf(const CSylItem& item) const;
    // Removes the files the last run wrote and this one did not; returns how many.
    int RemoveGone();
    // The digest of everything besides the files that shapes the run's output and report.
    Digest RunKey() const;

    const Project& project_;
    const Settings& settings_;
    const RunOptions& options_;
    const RunInputs& inputs_;
    Reporter& reporter_;
    // What the reporter had counted before the run (the configuration's warnings): the last
    // line of a run sums up them too.
    const int countedBefore_;
    const FileLock lock_;
    std::string directory_;
    std::string path_;
    std::unique_ptr<CacheStore> store_;
    std::unique_ptr<RunProof> proof_;
    std::optional<ProofFigures> unchanged_;
    std::unique_ptr<SourceMemo> sources_;
    std::unique_ptr<KeptOutput> output_;
    // False when the files the last run wrote are not all known: the project directory is then
    // searched for files named as the run names its own.
    bool outputsKnown_ = false;
    Digest pageContext_;
    Digest externalNames_{};
    Digest namesDigest_;
    Digest indexKey_;
    Digest searchKey_;
    bool indexFresh_ = false;
    int built_ = 0;
    int itemCount_ = 0;
    int filesScanned_ = 0;
    std::unique_ptr<const ScopeIndex> scopes_;
    std::vector<PageState> pages_;
    std::unordered_map<const CSylItem*, std::size_t> pageOf_;
    std::unordered_map<std::string_view, std::size_t> pageAt_;  // by path
};

}  // namespace sylva
