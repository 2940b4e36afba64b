#include "engine/run_proof.h"

#include <sys/stat.h>

#include <atomic>
#include <functional>
#include <string>
#include <vector>

#include "engine/cache_records.h"
#include "engine/source_memo.h"
#include "scan/scan.h"
#include "support/ordered_work.h"

namespace sylva {

namespace {

constexpr std::string_view kHeadKey = "head";
constexpr char kInputs = 'i';
constexpr char kListings = 'd';
constexpr char kOutputs = 'o';
constexpr char kReport = 'r';
// Large enough that a big run's proof takes few writes, small enough to hold at once.
constexpr std::size_t kRecordBytes = 1 << 16;
constexpr std::size_t kEventsPerRecord = 1024;

std::string RecordKey(char kind, std::uint64_t number) {
    return std::string(1, kind) + ":" + std::to_string(number);
}

// Writes a record only when it differs from the one there: a run that proves what the last run
// proved, entry for entry, rewrites none of its records, and a re-run after a small change only
// the few records that the change touches.
void PutChanged(CacheStore& store, const std::string& key, const std::string& sealed) {
    if (store.Get(CacheTable::kProof, key) != sealed) {
        store.Put(CacheTable::kProof, key, sealed);
    }
}

// Drops the records of `kind` from `count` on, which a longer earlier run left. Records of a kind
// are numbered without gaps, whatever run wrote them.
void EraseFrom(CacheStore& store, char kind, std::uint64_t count) {
    for (std::uint64_t number = count; store.Get(CacheTable::kProof, RecordKey(kind, number));
         ++number) {
        store.Erase(CacheTable::kProof, RecordKey(kind, number));
    }
}

Digest ListingDigest(const std::vector<std::string>& names) {
    Hasher hasher;
    hasher.Number(names.size());
    for (const std::string& name : names) {
        hasher.Text(name);
    }
    return hasher.Finish();
}

struct Head {
    Digest key;
    ProofFigures figures;
    std::uint64_t inputs = 0;
    std::uint64_t listings = 0;
    std::uint64_t outputs = 0;
    std::uint64_t report = 0;

    std::string Encode() const {
        ByteWriter out;
        out.Add(key).Number(static_cast<std::uint64_t>(figures.items));
        out.Number(static_cast<std::uint64_t>(figures.files));
        out.Number(inputs).Number(listings).Number(outputs).Number(report);
        return out.Take();
    }

    static std::optional<Head> Decode(std::string_view bytes) {
        ByteReader in(bytes);
        Head head;
        head.key = in.ReadDigest();
        head.figures.items = static_cast<int>(in.Number());
        head.figures.files = static_cast<int>(in.Number());
        head.inputs = in.Number();
        head.listings = in.Number();
        head.outputs = in.Number();
        head.report = in.Number();
        return in.Done() ? std::optional(head) : std::nullopt;
    }
};

// Calls holds(entry) for each entry of the `count` records of `kind`; false when one does not
// hold or a record is missing or damaged. The records are read on the calling thread (the store
// is not shared between threads); their entries, each a stat or a listing, are judged on all the
// threads a stage may use, and once one record fails the others are not judged.
// REQUIRES: holds may run concurrently with itself.
bool AllHold(CacheStore& store, char kind, std::uint64_t count,
             const std::function<bool(ByteReader&)>& holds) {
    std::vector<std::string> records;
    records.reserve(count);
    for (std::uint64_t number = 0; number < count; ++number) {
        std::optional<std::string> sealed = store.Get(CacheTable::kProof, RecordKey(kind, number));
        if (!sealed) {
            return false;
        }
        records.push_back(std::move(*sealed));
    }
    std::atomic<bool> allHold = true;
    // A char, not a bool: the results wait in a vector of them.
    RunInOrder<char>(
        records.size(), WorkersFor(DefaultThreadCount(), false),
        [&](std::size_t number) -> char {
            if (!allHold.load(std::memory_order_relaxed)) {
                return false;
            }
            std::optional<std::string_view> bytes = Unseal(records[number]);
            if (!bytes) {
                return false;
            }
            ByteReader in(*bytes);
            for (std::uint64_t entries = in.Number(); in.ok() && entries > 0; --entries) {
                if (!holds(in) || !in.ok()) {
                    return false;
                }
            }
            return in.Done();
        },
        [&](std::size_t, char& holdsAll) {
            if (!holdsAll) {
                allHold.store(false, std::memory_order_relaxed);
            }
        });
    return allHold.load();
}

bool InputHolds(ByteReader& in) {
    const std::string path(in.Text());
    const FileStamp stamp = FileStamp::Decode(in);
    const bool trusted = in.Number() != 0;
    const Digest bytes = in.ReadDigest();
    // Followed as the walk follows it: a link that leads elsewhere now has another stamp.
    struct stat info {};
    if (!in.ok() || ::stat(path.c_str(), &info) != 0 || !(FileStamp::Of(info) == stamp)) {
        return false;
    }
    return trusted || DigestOfFile(path) == bytes;
}

bool ListingHolds(ByteReader& in) {
    const std::string directory(in.Text());
    const Digest names = in.ReadDigest();
    std::optional<std::vector<std::string>> listed = ListDirectory(directory);
    return in.ok() && listed && ListingDigest(*listed) == names;
}

bool OutputHolds(ByteReader& in) {
    const std::string path(in.Text());
    const FileStamp stamp = FileStamp::Decode(in);
    return in.ok() && StampOfEntry(path) == stamp;
}

std::optional<ReportLog> ReportRecord(CacheStore& store, std::uint64_t number) {
    std::optional<std::string> sealed = store.Get(CacheTable::kProof, RecordKey(kReport, number));
    std::optional<std::string_view> bytes = sealed ? Unseal(*sealed) : std::nullopt;
    if (!bytes) {
        return std::nullopt;
    }
    ByteReader in(*bytes);
    std::optional<ReportLog> log = ReportLog::Decode(in);
    return log && in.Done() ? log : std::nullopt;
}

std::optional<Head> StoredHead(CacheStore& store) {
    std::optional<std::string> sealed = store.Get(CacheTable::kProof, kHeadKey);
    std::optional<std::string_view> bytes = sealed ? Unseal(*sealed) : std::nullopt;
    return bytes ? Head::Decode(*bytes) : std::nullopt;
}

}  // namespace

void ProofStream::Added() {
    ++entries_;
    if (pending_.bytes().size() >= kRecordBytes) {
        Flush();
    }
}

void ProofStream::Flush() {
    if (entries_ == 0) {
        return;
    }
    ByteWriter record;
    record.Number(entries_);
    PutChanged(store_, RecordKey(kind_, records_++), Seal(record.Take() + pending_.Take()));
    pending_ = ByteWriter();
    entries_ = 0;
}

RunProof::RunProof(CacheStore& store)
    : store_(store),
      inputs_(store, kInputs),
      listings_(store, kListings),
      outputs_(store, kOutputs) {}

void RunProof::Begin() {
    // Without its head no record counts: the records are replaced one by one, and those equal to
    // the last run's are left as they are.
    store_.Erase(CacheTable::kProof, kHeadKey);
}

void RunProof::Input(const std::string& path, const FileStamp& stamp, bool trusted,
                     const Digest& bytes) {
    ByteWriter& out = inputs_.entry();
    out.Text(path);
    stamp.Encode(out);
    out.Number(trusted ? 1 : 0).Add(bytes);
    inputs_.Added();
}

void RunProof::Listing(const std::string& directory, const std::vector<std::string>& names) {
    listings_.entry().Text(directory).Add(ListingDigest(names));
    listings_.Added();
}

void RunProof::Output(const std::string& path, const std::optional<FileStamp>& stamp) {
    if (!stamp) {
        Doubt();
        return;
    }
    ByteWriter& out = outputs_.entry();
    out.Text(path);
    stamp->Encode(out);
    outputs_.Added();
}

void RunProof::Protocol(std::string_view line) {
    report_.Protocol(line);
    Told();
}

void RunProof::Failure(std::string_view line) {
    // A run that failed is run again in full: what failed may work now.
    report_.Failure(line);
    Doubt();
    Told();
}

void RunProof::Warning(std::string_view file, int line, const WarningMessage& message) {
    report_.Warning(file, line, message);
    Told();
}

void RunProof::Status(std::string_view text) {
    report_.Status(text);
    Told();
}

void RunProof::Advance() {
    report_.Advance();
    Told();
}

void RunProof::Told() {
    if (report_.size() >= kEventsPerRecord) {
        KeepReport();
    }
}

void RunProof::KeepReport() {
    ByteWriter out;
    report_.Encode(out);
    PutChanged(store_, RecordKey(kReport, reportRecords_++), Seal(out.Take()));
    report_ = ReportLog();
}

void RunProof::Finish(const Digest& key, const ProofFigures& figures) {
    if (doubtful_) {
        store_.EraseTable(CacheTable::kProof);
        return;
    }
    inputs_.Flush();
    listings_.Flush();
    outputs_.Flush();
    if (!report_.empty()) {
        KeepReport();
    }
    const Head head{
        key, figures, inputs_.records(), listings_.records(), outputs_.records(), reportRecords_};
    EraseFrom(store_, kInputs, head.inputs);
    EraseFrom(store_, kListings, head.listings);
    EraseFrom(store_, kOutputs, head.outputs);
    EraseFrom(store_, kReport, head.report);
    store_.Put(CacheTable::kProof, kHeadKey, Seal(head.Encode()));
}

std::optional<ProofFigures> ProvenUnchanged(CacheStore& store, const Digest& key) {
    std::optional<Head> head = StoredHead(store);
    if (!head || !(head->key == key)) {
        return std::nullopt;
    }
    // The cheapest checks first: most changes show in a listing or a source's stamp.
    if (!AllHold(store, kListings, head->listings, ListingHolds) ||
        !AllHold(store, kInputs, head->inputs, InputHolds) ||
        !AllHold(store, kOutputs, head->outputs, OutputHolds)) {
        return std::nullopt;
    }
    // The report is told only when all of it can be: a damaged record would cut it short.
    for (std::uint64_t number = 0; number < head->report; ++number) {
        if (!ReportRecord(store, number)) {
            return std::nullopt;
        }
    }
    return head->figures;
}

void ReplayProvenReport(CacheStore& store, Reporter& reporter) {
    const std::optional<Head> head = StoredHead(store);
    for (std::uint64_t number = 0; head && number < head->report; ++number) {
        if (std::optional<ReportLog> log = ReportRecord(store, number)) {
            log->ReplayInto(reporter);
        }
    }
}

}  // namespace sylva
