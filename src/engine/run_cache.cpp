#include "engine/run_cache.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <thread>

#include "html/output_files.h"
#include "html/page_names.h"
#include "html/scope_index.h"
#include "scan/item_records.h"
#include "scan/tag_file.h"
#include "support/atomic_file.h"
#include "support/byte_codec.h"
#include "support/file_stamp.h"
#include "support/ordered_work.h"
#include "support/text_format.h"
#include "support/zt_time.h"

namespace sylva {

namespace {

// Changed whenever what the cache holds is laid out or derived otherwise, so that the cache of
// another layout is discarded rather than misread.
constexpr std::string_view kCacheFormat = "sylva-cache-10";
constexpr std::string_view kCacheSubdirectory = "sylva";
constexpr std::string_view kCacheFileExtension = ".sqlite";
// The temporary files of the index pages are named after this, short whatever the page's name.
constexpr std::string_view kTemporaryName = ".sylva";

constexpr std::string_view kIdentityKey = "identity";
constexpr std::string_view kStateKey = "state";
constexpr std::string_view kNamesKey = "names";
constexpr std::string_view kIndexKey = "index";
constexpr std::string_view kSearchKey = "search";
// The state while a run writes: a run killed then leaves files that the records may not know.
constexpr std::string_view kWriting = "writing";
constexpr std::string_view kClean = "clean";
// The last run's records are judged in batches of this many, on all threads: enough to keep
// them busy, few enough that the records' bytes never pile up.
constexpr std::size_t kJudgedTogether = 4096;

constexpr std::string_view kNoCacheDirectory =
    "Cache: no cache directory (set %s or HOME); every file is read and every page built.";
constexpr std::string_view kUnusableCache =
    "WARNING: Cache in %s cannot be used (%s); every file is read and every page built.";
constexpr std::string_view kNewCache =
    "Cache in %s is new for this project; every file is read and every page built.";
constexpr std::string_view kForeignCache =
    "WARNING: Cache in %s belongs to another project, format or program version; it is built "
    "anew and every file is read and every page built.";
constexpr std::string_view kDamagedCache =
    "WARNING: Cache in %s is damaged (%s); it is built anew and every file is read and every "
    "page built.";
constexpr std::string_view kRebuild =
    "Cache in %s is not used, as asked; every file is read and every page built.";
constexpr std::string_view kUnfinishedRun =
    "Cache in %s: the last run did not finish; files it may have left are removed.";
constexpr std::string_view kCacheWriteFailed =
    "WARNING: Cache in %s could not be kept (%s); the next run reads every file again.";
constexpr std::string_view kLockFailure =
    "WARNING: Cannot lock project directory %s (%s); another run may write into it meanwhile.";
constexpr std::string_view kCannotRemove = "  ERROR: Cannot remove file %s (%s) !";

std::string Hex(const Digest& digest) {
    constexpr std::string_view kDigits = "0123456789abcdef";
    std::string hex;
    for (std::uint64_t word : {digest.high, digest.low}) {
        for (int shift = 60; shift >= 0; shift -= 4) {
            hex.push_back(kDigits[(word >> shift) & 0xF]);
        }
    }
    return hex;
}

// The lookups `encoded` holds; none while it is empty.
NameLookups LookupsOf(const std::string& encoded) {
    return encoded.empty() ? NameLookups() : DecodeLookups(encoded).value_or(NameLookups());
}

// Adds `more` to the lookups `encoded` holds.
void MergeEncoded(std::string& encoded, const NameLookups& more) {
    NameLookups all = LookupsOf(encoded);
    all.Merge(more);
    encoded = EncodeLookups(all);
}

std::string AbsolutePath(const std::string& path) {
    std::error_code error;
    std::filesystem::path absolute = std::filesystem::absolute(path, error);
    return error ? path : absolute.lexically_normal().string();
}

// Why `directory` cannot hold the cache, after making it when it is missing; empty when it can.
// A symbolic link is refused: the cache would be written wherever it leads.
std::string CacheDirectoryProblem(const std::string& directory) {
    struct stat info {};
    if (::lstat(directory.c_str(), &info) != 0) {
        std::error_code error;
        std::filesystem::create_directories(directory, error);
        if (error) {
            return error.message();
        }
        if (::lstat(directory.c_str(), &info) != 0) {
            return std::strerror(errno);
        }
    }
    if (S_ISLNK(info.st_mode)) {
        return "it is a symbolic link";
    }
    if (!S_ISDIR(info.st_mode)) {
        return "it is not a directory";
    }
    if (::access(directory.c_str(), W_OK | X_OK) != 0) {
        return std::strerror(errno);
    }
    return {};
}

// The program that made a cache: its version and the size and modification time of its
// executable, so that a build of the same version with a changed reader never replays what an
// earlier build read.
const std::string& ProgramIdentity() {
    static const std::string identity = [] {
        std::string text(SYLVA_VERSION);
        struct stat info {};
        if (::stat("/proc/self/exe", &info) == 0) {
            text.append(" ")
                .append(std::to_string(info.st_size))
                .append(" ")
                .append(std::to_string(info.st_mtim.tv_sec))
                .append(".")
                .append(std::to_string(info.st_mtim.tv_nsec));
        }
        return text;
    }();
    return identity;
}

void AddSettings(Hasher& hasher, const Settings& settings, const RunOptions& options) {
    hasher.Text(kCacheFormat).Text(ProgramIdentity());
    for (const std::string& value : settings.Values()) {
        hasher.Text(value);
    }
    static_assert(std::has_unique_object_representations_v<RunOptions>,
                  "the options are hashed as their bytes");
    hasher.Text(std::string_view(reinterpret_cast<const char*>(&options), sizeof options));
}

// True when the run's date is fixed (SOURCE_DATE_EPOCH): pages then differ when it changes.
bool DateIsFixed() {
    const char* epoch = std::getenv("SOURCE_DATE_EPOCH");
    return epoch != nullptr && *epoch != '\0';
}

// The names of the files a run writes into the project directory.
bool NamedAsOutput(std::string_view name, const Project& project) {
    return (name.starts_with("SYLVA_") && name.ends_with(".html")) ||
           name.starts_with("sylva_search") || name == ProjectIndexFile(project.directoryName) ||
           name == FrameIndexFile(project.directoryName) ||
           name == FrameSetFile(project.directoryName);
}

}  // namespace

std::string TemporaryBase(const Project& project) {
    return project.Directory() + "/" + std::string(kTemporaryName);
}

namespace {

std::optional<std::string> Meta(CacheStore& store, std::string_view key) {
    std::optional<std::string> sealed = store.Get(CacheTable::kMeta, key);
    std::optional<std::string_view> bytes = sealed ? Unseal(*sealed) : std::nullopt;
    return bytes ? std::optional<std::string>(*bytes) : std::nullopt;
}

std::optional<Digest> MetaDigest(CacheStore& store, std::string_view key) {
    std::optional<std::string> bytes = Meta(store, key);
    if (!bytes) {
        return std::nullopt;
    }
    ByteReader in(*bytes);
    Digest digest = in.ReadDigest();
    return in.Done() ? std::optional(digest) : std::nullopt;
}

void PutMeta(CacheStore& store, std::string_view key, std::string bytes) {
    store.Put(CacheTable::kMeta, key, Seal(std::move(bytes)));
}

void PutMetaDigest(CacheStore& store, std::string_view key, const Digest& digest) {
    PutMeta(store, key, ByteWriter().Add(digest).Take());
}

}  // namespace

std::string DefaultCacheDirectory() {
    if (const char* named = std::getenv(kCacheDirectoryVariable); named && *named != '\0') {
        return named;
    }
    if (const char* xdg = std::getenv("XDG_CACHE_HOME"); xdg && *xdg != '\0') {
        return std::string(xdg) + "/" + std::string(kCacheSubdirectory);
    }
    if (const char* home = std::getenv("HOME"); home && *home != '\0') {
        return std::string(home) + "/.cache/" + std::string(kCacheSubdirectory);
    }
    return {};
}

// One page of the run: where it goes, its item's digest, and what building it gave.
struct RunCache::PageState {
    std::string path;
    Digest item;
    // What building the page at the path gave the last run; with `fresh`, also its See also
    // warnings.
    std::optional<PageRecord> previousPage;
    std::vector<std::string> previousSeeAlso;
    bool fresh = false;
    // What this run's stages gave a page that was not fresh, until it is kept.
    std::vector<std::string> seeAlsoWarnings;
    std::vector<std::string> linkWarnings;
    // Encoded, each lookup once: the stages before the pages are built look up every word of
    // every item, and a run holds what they looked up for all items at once.
    std::string lookups;
};

RunCache::RunCache(const RunInputs& inputs, const Project& project, const Settings& settings,
                   const RunOptions& options, Reporter& reporter)
    : project_(project),
      settings_(settings),
      options_(options),
      inputs_(inputs),
      reporter_(reporter),
      countedBefore_(reporter.warningCount() + reporter.failureCount()),
      lock_(project.indexPage) {
    if (!lock_.locked()) {
        reporter_.Protocol(FormatLine(kLockFailure, {project.Directory(), lock_.error()}));
    }
    const std::string directory =
        inputs.cache.directory.empty() ? DefaultCacheDirectory() : inputs.cache.directory;
    if (directory.empty()) {
        reporter_.Protocol(FormatLine(kNoCacheDirectory, {kCacheDirectoryVariable}));
    } else {
        Open(directory);
    }
    output_ = std::make_unique<KeptOutput>(DateIsFixed(), TemporaryBase(project));
    if (unchanged_) {
        // Nothing is written, so the store stays as the last run left it.
        return;
    }
    if (store_ != nullptr) {
        // Marked before any file is written, so that a run killed while writing is known.
        store_->Begin();
        PutMeta(*store_, kStateKey, std::string(kWriting));
        store_->Commit();
        store_->Begin();
        proof_->Begin();
        // From here on, everything the run tells is what a run that finds nothing changed tells.
        reporter_.Keep(proof_.get());
    }
    if (!outputsKnown_) {
        RemoveAbandonedTemporaries(TemporaryBase(project));
    }
}

RunCache::~RunCache() {
    reporter_.Keep(nullptr);
}

void RunCache::Open(const std::string& directory) {
    const std::string projectDirectory = AbsolutePath(project_.Directory());
    directory_ = directory;
    path_ = directory + "/" + Hex(DigestOf(projectDirectory)).substr(0, 16) +
            std::string(kCacheFileExtension);
    if (std::string problem = CacheDirectoryProblem(directory); !problem.empty()) {
        reporter_.Protocol(FormatLine(kUnusableCache, {directory, problem}));
        return;
    }
    const bool existed = StampOfEntry(path_).has_value();
    bool told = false;
    OpenedStore opened = OpenSqliteStore(path_);
    if (opened.store == nullptr && opened.unreadable) {
        // Not a store of ours at all: it is replaced, and the run has said why.
        Discard(kDamagedCache, opened.problem);
        ::unlink(path_.c_str());
        opened = OpenSqliteStore(path_);
        told = true;
    }
    if (opened.store == nullptr) {
        reporter_.Protocol(FormatLine(kUnusableCache, {directory_, opened.problem}));
        return;
    }
    store_ = std::move(opened.store);
    const CacheIdentity identity{std::string(kCacheFormat), ProgramIdentity(), projectDirectory};
    std::optional<std::string> storedIdentity = Meta(*store_, kIdentityKey);
    std::optional<CacheIdentity> stored =
        storedIdentity ? CacheIdentity::Decode(*storedIdentity) : std::nullopt;
    if (!store_->failure().empty()) {
        Discard(kDamagedCache, store_->failure());
        store_.reset();
        ::unlink(path_.c_str());
        if ((opened = OpenSqliteStore(path_)).store == nullptr) {
            reporter_.Protocol(FormatLine(kUnusableCache, {directory_, opened.problem}));
            return;
        }
        store_ = std::move(opened.store);
        stored.reset();
    } else if (stored && !(*stored == identity)) {
        Discard(kForeignCache, "");
        stored.reset();
    } else if (!stored && !told) {
        reporter_.Protocol(FormatLine(existed ? kForeignCache : kNewCache, {directory_}));
    }
    if (!stored) {
        store_->Begin();
        store_->EraseAll();
        PutMeta(*store_, kIdentityKey, identity.Encode());
        store_->Commit();
    } else if (inputs_.cache.rebuild) {
        reporter_.Protocol(FormatLine(kRebuild, {directory_}));
    } else {
        const std::optional<std::string> state = Meta(*store_, kStateKey);
        outputsKnown_ = state == kClean;
        if (!outputsKnown_) {
            reporter_.Protocol(FormatLine(kUnfinishedRun, {directory_}));
        }
    }
    // A run whose items someone else needs makes them, changed or not.
    if (outputsKnown_ && (inputs_.observer == nullptr || !inputs_.observer->NeedsItems()) &&
        (unchanged_ = ProvenUnchanged(*store_, RunKey()))) {
        return;
    }
    Hasher scanKey;
    AddSettings(scanKey, settings_, options_);
    scanKey.Text(inputs_.filter);
    proof_ = std::make_unique<RunProof>(*store_);
    sources_ = std::make_unique<SourceMemo>(*store_, scanKey.Finish(),
                                            stored.has_value() && !inputs_.cache.rebuild, *proof_);
}

Digest RunCache::RunKey() const {
    Hasher key;
    AddSettings(key, settings_, options_);
    for (const std::string* text :
         {&inputs_.scanPath, &inputs_.masterIndexName, &inputs_.projectName, &inputs_.outputPath,
          &inputs_.filter, &inputs_.projectDesc}) {
        key.Text(*text);
    }
    key.Number(static_cast<std::uint64_t>(inputs_.typePublic));
    key.Number(static_cast<std::uint64_t>(inputs_.typePrivate));
    key.Number(static_cast<std::uint64_t>(countedBefore_));
    // Without a sink of their own the warnings are summed up in the run's last line.
    key.Number(reporter_.hasDiagnosticSink() ? 1 : 0);
    // Relative paths lead elsewhere from another directory.
    std::error_code error;
    key.Text(std::filesystem::current_path(error).string());
    key.Number(MarkerImagesInstalled(project_.outputPath) ? 1 : 0);
    key.Text(DateIsFixed() ? CZTTime::Now().GetTimeAsString() : "");
    // The tag files of other sites are read after this key is judged: their stamps stand for
    // them, as a rewritten file always has a new one.
    for (const TagFileSource& source : ParseTagFileSources(settings_[SYL_TAG_FILES])) {
        ByteWriter stamp;
        if (const std::optional<FileStamp> found = StampOfEntry(source.path)) {
            found->Encode(stamp);
        }
        key.Text(source.path).Text(stamp.bytes());
    }
    return key.Finish();
}

void RunCache::Replay(RunSummary* summary) {
    ReplayProvenReport(*store_, reporter_);
    if (summary != nullptr) {
        summary->items = unchanged_->items;
        summary->sourcesReused = unchanged_->files;
        summary->unchanged = true;
    }
}

void RunCache::Discard(std::string_view line, const std::string& reason) {
    reporter_.Protocol(FormatLine(line, {directory_, reason}));
}

RunCache::PageState* RunCache::StateOf(const CSylItem& item) {
    auto found = pageOf_.find(&item);
    return found == pageOf_.end() ? nullptr : &pages_[found->second];
}

const RunCache::PageState* RunCache::StateOf(const CSylItem& item) const {
    auto found = pageOf_.find(&item);
    return found == pageOf_.end() ? nullptr : &pages_[found->second];
}

namespace {

// The digest of `item` and of every item its page shows beside it; `digestOf` gives an item's
// own digest.
template <typename DigestOf>
Digest NeighbourhoodDigest(const CSylItem& item, const ScopeIndex& scopes,
                           const DigestOf& digestOf) {
    const Digest own = digestOf(item);
    if (item.style != CommentStyle::kDoxygen) {
        return own;
    }
    Hasher hasher;
    hasher.Add(own);
    for (const CSylItem* scope : {scopes.ScopeOf(item), scopes.GroupOf(item)}) {
        hasher.Add(scope != nullptr ? digestOf(*scope) : Digest{});
    }
    for (const auto* shown : {&scopes.Members(item), &scopes.Bases(item), &scopes.Derived(item)}) {
        hasher.Number(shown->size());
        for (const CSylItem* other : *shown) {
            hasher.Add(digestOf(*other));
        }
    }
    return hasher.Finish();
}

}  // namespace

void RunCache::Judge(const ItemList& items, int threadCount) {
    itemCount_ = 0;
    for (const ItemList::Slot& slot : items) {
        itemCount_ += slot ? 1 : 0;
    }
    if (store_ == nullptr) {
        return;
    }
    // The pages show images and examples that are no sources: a later run proves nothing
    // unchanged unless their bytes are as this run found them.
    for (const std::string& path :
         proof_ != nullptr ? items.ShownFiles() : std::vector<std::string>()) {
        const std::optional<FileStamp> stamp = StampOfEntry(path);
        const std::optional<Digest> bytes = DigestOfFile(path);
        if (stamp && bytes) {
            proof_->Input(path, *stamp, false, *bytes);
        } else {
            proof_->Doubt();
        }
    }
    Hasher context;
    AddSettings(context, settings_, options_);
    context.Text(project_.name).Text(project_.directoryName).Text(project_.masterIndexName);
    context.Number(MarkerImagesInstalled(project_.outputPath) ? 1 : 0);
    context.Number(static_cast<std::uint64_t>(inputs_.typePublic));
    context.Number(static_cast<std::uint64_t>(inputs_.typePrivate));
    context.Text(DateIsFixed() ? CZTTime::Now().GetTimeAsString() : "");
    context.Add(externalNames_);
    pageContext_ = context.Finish();

    Hasher names;
    std::vector<const CSylItem*> paged;
    for (const ItemList::Slot& slot : items) {
        if (slot) {
            names.Text(slot->name);
            paged.push_back(slot.get());
        }
    }
    pages_.resize(paged.size());
    pageOf_.reserve(paged.size());
    pageAt_.reserve(paged.size());
    // An item's own digest encodes the whole item, and a scope's is asked for by every member:
    // each is made once, before the neighbourhoods that share it. A page of the doxygen style
    // shows its scope, bases, derived classes and members, so it is as fresh as they are; the
    // scope index that tells them needs no digest, and is made meanwhile on a thread of its own.
    std::vector<Digest> own(paged.size());
    {
        const auto indexScopes = [&] {
            scopes_ = std::make_unique<const ScopeIndex>(items, paged);
        };
        std::thread indexer;
        if (threadCount > 1) {
            indexer = std::thread(indexScopes);
        } else {
            indexScopes();
        }
        RunInOrder<Digest>(
            paged.size(), WorkersFor(threadCount, false),
            [&](std::size_t i) { return ItemDigest(*paged[i]); },
            [&](std::size_t i, Digest& digest) {
                own[i] = digest;
                pageOf_.emplace(paged[i], i);
            });
        if (indexer.joinable()) {
            indexer.join();
        }
    }
    const ScopeIndex& scopes = *scopes_;
    // A name may lead through the bases of a class named with it: while they change, the
    // recorded lookups are asked again though every name stays.
    for (const CSylItem* item : paged) {
        const std::vector<const CSylItem*>& bases = scopes.Bases(*item);
        names.Number(bases.size());
        for (const CSylItem* base : bases) {
            names.Text(base->name);
        }
    }
    namesDigest_ = names.Finish();
    const bool namesSame = MetaDigest(*store_, kNamesKey) == namesDigest_;
    const std::optional<LookupCheck> check =
        namesSame ? std::nullopt : std::optional<LookupCheck>(std::in_place, items, scopes);

    const auto digestOf = [&](const CSylItem& item) {
        const auto found = pageOf_.find(&item);
        return found != pageOf_.end() ? own[found->second] : ItemDigest(item);
    };
    RunInOrder<int>(
        paged.size(), WorkersFor(threadCount, false),
        [&](std::size_t i) {
            pages_[i].path = PagePath(project_, *paged[i]);
            pages_[i].item = NeighbourhoodDigest(*paged[i], scopes, digestOf);
            return 0;
        },
        [&](std::size_t i, int&) { pageAt_.emplace(pages_[i].path, i); });
    if (inputs_.cache.rebuild) {
        // Records of the last run that this one does not replace must not outlive it.
        store_->EraseTable(CacheTable::kPages);
        store_->EraseTable(CacheTable::kPageLookups);
    } else {
        LoadPrevious(check, threadCount);
    }

    Hasher index;
    index.Add(pageContext_).Text(project_.description).Add(namesDigest_);
    for (const PageState& state : pages_) {
        index.Add(state.item);
    }
    indexKey_ = index.Finish();
    indexFresh_ =
        MetaDigest(*store_, kIndexKey) == indexKey_ && output_->KeepAll(OutputKind::kProjectIndex);
}

void RunCache::LoadPrevious(const std::optional<LookupCheck>& check, int threadCount) {
    struct Loaded {
        std::string path;
        std::string sealed;
        std::optional<std::string> sealedLookups;  // read only when they decide
    };
    struct Judged {
        std::optional<OutputRecord> record;
        std::size_t page = 0;  // of this run, at the record's path, when it is a page's
        std::optional<PageRecord> previousPage;
        std::vector<std::string> seeAlso;
        bool fresh = false;
    };
    std::vector<Loaded> batch;
    const auto judge = [&] {
        RunInOrder<Judged>(
            batch.size(), WorkersFor(threadCount, false),
            [&](std::size_t i) {
                Judged judged;
                std::string_view buildingBytes;
                std::optional<std::string_view> bytes = Unseal(batch[i].sealed);
                judged.record = bytes ? OutputRecord::Decode(*bytes, buildingBytes) : std::nullopt;
                auto at = pageAt_.find(batch[i].path);
                if (!judged.record || judged.record->kind != OutputKind::kDescriptionPage ||
                    at == pageAt_.end()) {
                    return judged;
                }
                judged.page = at->second;
                const OutputRecord& record = *judged.record;
                std::optional<PageBuilding> building = PageBuilding::Decode(buildingBytes);
                if (building) {
                    judged.previousPage = DecodePageRecord(building->page);
                }
                // The lookups are read in place, and only for a page that may still be fresh.
                const auto lookupsHold = [&] {
                    std::optional<std::string_view> lookupBytes =
                        batch[i].sealedLookups ? Unseal(*batch[i].sealedLookups) : std::nullopt;
                    return lookupBytes && check->Holds(*lookupBytes);
                };
                judged.fresh = judged.previousPage && record.pageContext == pageContext_ &&
                               record.item == pages_[at->second].item &&
                               KeptOutput::Untouched(batch[i].path, record) &&
                               (!check || lookupsHold());
                if (judged.fresh) {
                    judged.seeAlso = std::move(building->seeAlsoWarnings);
                }
                return judged;
            },
            [&](std::size_t i, Judged& judged) {
                if (!judged.record) {
                    return;
                }
                if (judged.previousPage) {
                    PageState& state = pages_[judged.page];
                    state.previousPage = std::move(judged.previousPage);
                    state.fresh = judged.fresh;
                    state.previousSeeAlso = std::move(judged.seeAlso);
                }
                output_->AddPrevious(std::move(batch[i].path), std::move(*judged.record));
                if (judged.fresh) {
                    (void)output_->Keep(pages_[judged.page].path);
                }
            });
        batch.clear();
    };
    const auto load = [&](std::string_view key, std::string_view value,
                          std::optional<std::string_view> lookups) {
        batch.push_back({std::string(key), std::string(value),
                         lookups ? std::optional<std::string>(*lookups) : std::nullopt});
        if (batch.size() == kJudgedTogether) {
            judge();
        }
    };
    // The lookups, the bulk of what a page keeps, decide only while the names changed.
    if (check) {
        store_->ForEachWith(CacheTable::kPages, CacheTable::kPageLookups, load);
    } else {
        store_->ForEach(CacheTable::kPages, [&](std::string_view key, std::string_view value) {
            load(key, value, std::nullopt);
        });
    }
    judge();
}

const std::vector<std::string>* RunCache::FreshSeeAlsoWarnings(const CSylItem& item) const {
    const PageState* state = StateOf(item);
    return state != nullptr && state->fresh ? &state->previousSeeAlso : nullptr;
}

void RunCache::SeeAlsoChecked(const CSylItem& item, std::vector<std::string> warnings,
                              const NameLookups& lookups) {
    if (PageState* state = StateOf(item)) {
        state->seeAlsoWarnings = std::move(warnings);
        MergeEncoded(state->lookups, lookups);
    }
}

const PageRecord* RunCache::Fresh(const CSylItem& item) const {
    const PageState* state = StateOf(item);
    return state != nullptr && state->fresh ? &*state->previousPage : nullptr;
}

const PageRecord* RunCache::Previous(const CSylItem& item) const {
    const PageState* state = StateOf(item);
    return state != nullptr && state->previousPage ? &*state->previousPage : nullptr;
}

void RunCache::Linked(const CSylItem& item, std::vector<std::string> warnings,
                      const NameLookups& lookups) {
    if (PageState* state = StateOf(item)) {
        state->linkWarnings = std::move(warnings);
        MergeEncoded(state->lookups, lookups);
    }
}

void RunCache::Built(const CSylItem& item, PageRecord record, const NameLookups& lookups) {
    ++built_;
    PageState* state = StateOf(item);
    if (state == nullptr) {
        return;
    }
    // Kept at once, so that a run holds no more than one page's building at a time.
    PageBuilding building;
    record.linkWarnings = std::move(state->linkWarnings);
    building.page = EncodePageRecord(record);
    building.seeAlsoWarnings = std::move(state->seeAlsoWarnings);
    NameLookups allLookups = LookupsOf(state->lookups);
    allLookups.Merge(lookups);
    state->linkWarnings = {};
    state->seeAlsoWarnings = {};
    state->lookups = std::string();
    std::optional<OutputRecord> written = output_->Current(state->path);
    if (store_ == nullptr || !written) {
        return;
    }
    written->pageContext = pageContext_;
    written->item = state->item;
    // Both in one transaction: a page's record never outlives its lookups.
    store_->Put(CacheTable::kPages, state->path, Seal(written->Encode(building.Encode())));
    store_->Put(CacheTable::kPageLookups, state->path, Seal(EncodeLookups(allLookups)));
}

bool RunCache::SearchIndexFresh(const Digest& entries) {
    searchKey_ = entries;
    return store_ != nullptr && MetaDigest(*store_, kSearchKey) == entries &&
           output_->KeepAll(OutputKind::kSearchIndex);
}

int RunCache::RemoveGone() {
    std::vector<std::string> gone = output_->Gone();
    if (!outputsKnown_) {
        std::error_code error;
        for (std::filesystem::directory_iterator it(project_.Directory(), error), end;
             !error && it != end; it.increment(error)) {
            const std::string path = it->path().string();
            if (NamedAsOutput(it->path().filename().native(), project_) &&
                !output_->Produced(path)) {
                gone.push_back(path);
            }
        }
    }
    int removed = 0;
    for (const std::string& path : gone) {
        std::optional<FileStamp> stamp = StampOfEntry(path);
        struct stat info {};
        // Only the files themselves go: a directory or a link in their place is left.
        if (!stamp || ::lstat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode) ||
            output_->Produced(path)) {
            continue;
        }
        if (::unlink(path.c_str()) != 0) {
            reporter_.Failure(FormatLine(kCannotRemove, {path, std::strerror(errno)}));
            continue;
        }
        ++removed;
    }
    return removed;
}

void RunCache::Store() {
    if (store_ == nullptr) {
        return;
    }
    // The pages built were kept as they came (Built); of the rest, only the files handed over
    // can differ from their records, and the files no longer written lose theirs.
    output_->ForEachHandedOver([&](const std::string& path, const OutputRecord& record) {
        if (record.kind != OutputKind::kDescriptionPage) {
            store_->Put(CacheTable::kPages, path, Seal(record.Encode({})));
        }
    });
    for (const std::string& path : output_->Gone()) {
        store_->Erase(CacheTable::kPages, path);
        store_->Erase(CacheTable::kPageLookups, path);
    }
    sources_->EraseUnseen();
    reporter_.Keep(nullptr);
    output_->ForEachLeft([&](const std::string& path, const OutputRecord& record) {
        proof_->Output(path, record.stamp);
    });
    if (!project_.masterIndexName.empty()) {
        // Written beside the project, and read again by a run that adds to it.
        for (const std::string& path :
             {MasterIndexPath(project_.outputPath, project_.masterIndexName),
              project_.outputPath + "/" + std::string(kSiteEntryFile)}) {
            proof_->Output(path, StampOfEntry(path));
        }
    }
    proof_->Finish(RunKey(), {itemCount_, filesScanned_});
    PutMetaDigest(*store_, kNamesKey, namesDigest_);
    PutMetaDigest(*store_, kIndexKey, indexKey_);
    PutMetaDigest(*store_, kSearchKey, searchKey_);
    PutMeta(*store_, kStateKey, std::string(kClean));
    store_->Commit();
    if (!store_->failure().empty()) {
        reporter_.Protocol(FormatLine(kCacheWriteFailed, {directory_, store_->failure()}));
    }
}

void RunCache::Finish(RunSummary* summary, int filesScanned) {
    const int removed = RemoveGone();
    filesScanned_ = filesScanned;
    if (summary != nullptr) {
        summary->items = itemCount_;
        summary->sourcesReused = sources_ ? sources_->reused() : 0;
        summary->sourcesRead = filesScanned - summary->sourcesReused;
        summary->pagesBuilt = built_;
        summary->filesWritten = output_->written();
        summary->filesRemoved = removed;
    }
}

}  // namespace sylva
