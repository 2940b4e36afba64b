#include "engine/source_memo.h"

#include <fcntl.h>
#include <unistd.h>

#include <array>

#include "scan/item_records.h"

namespace sylva {

namespace {

// A file system's clock may tick this coarsely: a file written in the same tick as it was read
// can change without changing its stamp.
constexpr std::time_t kStampMarginSeconds = 2;
// Read into a buffer on the stack that is not cleared first: a cleared megabyte cost more than
// hashing the file it held.
constexpr std::size_t kReadPiece = 64 << 10;
constexpr std::int64_t kNsPerSecond = 1000000000;

// Whole seconds, rounded down as the file system's own seconds are.
std::time_t SecondsOf(std::int64_t ns) {
    return static_cast<std::time_t>(ns >= 0 ? ns / kNsPerSecond : -((-ns - 1) / kNsPerSecond) - 1);
}

}  // namespace

std::optional<Digest> DigestOfFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        return std::nullopt;
    }
    Hasher hasher;
    std::array<char, kReadPiece> piece;
    for (;;) {
        const ssize_t got = ::read(fd, piece.data(), piece.size());
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            ::close(fd);
            return std::nullopt;
        }
        if (got == 0) {
            break;
        }
        hasher.Bytes(std::string_view(piece.data(), static_cast<std::size_t>(got)));
    }
    ::close(fd);
    return hasher.Finish();
}

SourceMemo::SourceMemo(CacheStore& store, const Digest& scanKey, bool reuse, RunProof& proof)
    : store_(store),
      proof_(proof),
      scanKey_(scanKey),
      reuse_(reuse),
      trustBefore_(std::time(nullptr) - kStampMarginSeconds) {
    store_.ForEach(CacheTable::kSources, [this](std::string_view key, std::string_view value) {
        std::optional<std::string_view> bytes = Unseal(value);
        std::optional<SourceRecord> record = bytes ? SourceRecord::Decode(*bytes) : std::nullopt;
        if (record) {
            previous_.emplace(std::string(key), *record);
        } else {
            damaged_ = true;
        }
    });
}

bool SourceMemo::Replay(ScanJob& job, const std::string& path, const FileStamp& stamp) {
    seen_[path] = true;
    hashedPath_.clear();
    auto found = previous_.find(path);
    const SourceRecord* record =
        reuse_ && found != previous_.end() && found->second.scanKey == scanKey_ ? &found->second
                                                                                : nullptr;
    if (record == nullptr || !record->stampTrusted || !(record->stamp == stamp)) {
        // Taken before the file is read, so that the digest kept with its items is never that of
        // bytes written after the read.
        std::optional<Digest> bytes = DigestOfFile(path);
        if (!bytes) {
            return false;
        }
        hashedPath_ = path;
        hashed_ = *bytes;
        if (record == nullptr || !(*bytes == record->bytes)) {
            return false;
        }
    }
    std::optional<std::string> sealed = store_.Get(CacheTable::kSourceItems, path);
    std::optional<std::string_view> bytes = sealed ? Unseal(*sealed) : std::nullopt;
    std::optional<SourceItems> items = bytes ? SourceItems::Decode(*bytes) : std::nullopt;
    const RecordUse use =
        items ? DecodeFileItems(items->items, job.items, path, CZTTime(SecondsOf(stamp.modifiedNs)),
                                job.settings, job.scanPath)
              : RecordUse::kDamaged;
    if (use != RecordUse::kFiled) {
        damaged_ = damaged_ || (use == RecordUse::kDamaged && sealed.has_value());
        if (hashedPath_ != path) {
            // The file is read again with its bytes unchanged: its new record keeps their digest.
            hashed_ = record->bytes;
            hashedPath_ = path;
        }
        return false;
    }
    items->told.ReplayInto(job.reporter);
    ++reused_;
    // A file touched without a change gets its new stamp, so it need not be read again.
    const bool trusted = Trusted(stamp);
    if (!(record->stamp == stamp) || !record->stampTrusted) {
        SourceRecord renewed = *record;
        renewed.stamp = stamp;
        renewed.stampTrusted = trusted;
        store_.Put(CacheTable::kSources, path, Seal(renewed.Encode()));
    }
    proof_.Input(path, stamp, trusted, record->bytes);
    return true;
}

void SourceMemo::Record(const ScanJob& job, const std::string& path, const FileStamp& stamp,
                        ItemList::Mark from, const ReportLog& told) {
    ++read_;
    // A file that could not be read whole, or that changed while it was read, is read again.
    std::optional<FileStamp> after = StampOfEntry(path);
    if (told.HasFailures() || !after || !(*after == stamp)) {
        store_.Erase(CacheTable::kSources, path);
        proof_.Doubt();
        return;
    }
    if (hashedPath_ != path) {
        proof_.Doubt();
        return;
    }
    SourceRecord record;
    record.stamp = stamp;
    record.stampTrusted = Trusted(stamp);
    record.bytes = hashed_;
    record.scanKey = scanKey_;
    store_.Put(CacheTable::kSourceItems, path,
               Seal(SourceItems{EncodeFileItems(job.items, from), told}.Encode()));
    store_.Put(CacheTable::kSources, path, Seal(record.Encode()));
    proof_.Input(path, stamp, record.stampTrusted, hashed_);
}

void SourceMemo::Listed(const std::string& directory, const std::vector<std::string>& names) {
    proof_.Listing(directory, names);
}

void SourceMemo::Unjudged() {
    proof_.Doubt();
}

bool SourceMemo::Trusted(const FileStamp& stamp) const {
    return SecondsOf(stamp.modifiedNs) < trustBefore_ && SecondsOf(stamp.changedNs) < trustBefore_;
}

void SourceMemo::EraseUnseen() {
    for (const auto& [path, record] : previous_) {
        if (!seen_.contains(path)) {
            store_.Erase(CacheTable::kSources, path);
            store_.Erase(CacheTable::kSourceItems, path);
        }
    }
}

}  // namespace sylva
