// SourceMemo: the scan's memory of the source files an earlier run read. A file whose bytes are
// those of the last read, under the same settings and program, is not read again: its items and
// what reading it reported come from the cache.
#pragma once

#include <ctime>
#include <string>
#include <unordered_map>

#include "engine/cache_records.h"
#include "engine/run_proof.h"
#include "scan/scan.h"
#include "support/cache_store.h"

namespace sylva {

class SourceMemo : public ScanMemo {
  public:
    // `scanKey`: the digest of everything besides a file's bytes that shapes its items.
    // `reuse`: false to read every file (a forced full run), keeping what it gives. `proof`: told
    // every file and directory the scan depends on.
    SourceMemo(CacheStore& store, const Digest& scanKey, bool reuse, RunProof& proof);

    bool Replay(ScanJob& job, const std::string& path, const FileStamp& stamp) override;
    void Record(const ScanJob& job, const std::string& path, const FileStamp& stamp,
                ItemList::Mark from, const ReportLog& told) override;
    void Listed(const std::string& directory, const std::vector<std::string>& names) override;
    void Unjudged() override;

    // Forgets the records of the files this run did not find.
    void EraseUnseen();

    int read() const { return read_; }
    int reused() const { return reused_; }
    // True when a record could not be used for being damaged.
    bool damaged() const { return damaged_; }

  private:
    // True when no later write can leave the same stamp: the file was last written (and its
    // status changed) well before the run began. A clock set back makes files look new, never old.
    bool Trusted(const FileStamp& stamp) const;

    CacheStore& store_;
    RunProof& proof_;
    const Digest scanKey_;
    const bool reuse_;
    // Writes within this many seconds of the run's start might share a stamp with a later write.
    const std::time_t trustBefore_;
    std::unordered_map<std::string, SourceRecord> previous_;
    std::unordered_map<std::string, bool> seen_;
    // The digest of the file Replay last read, for the Record that follows.
    std::string hashedPath_;
    Digest hashed_;
    int read_ = 0;
    int reused_ = 0;
    bool damaged_ = false;
};

// The digest of the file at `path`, read in pieces; nothing when it cannot be read whole.
std::optional<Digest> DigestOfFile(const std::string& path);

}  // namespace sylva
