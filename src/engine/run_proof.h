// RunProof: what a run keeps so that the next run can prove nothing changed, and then only tell
// again what it told, reading no source, building no page and writing no file.
//
// The proof names every input the run depended on and every file it left: the stamp of each
// source file read (with the digest of its bytes, checked anew when the stamp alone cannot be
// trusted), the entry names of each directory walked (so that an added file is seen), the stamp of
// each file the run wrote or kept, and the digest of everything else that shapes the output (the
// key). It holds what the run told, too, event by event. All of it is streamed into the store in
// records of bounded size as the run goes, so a run holds no more of it than one record, and it is
// kept in the run's transaction: it reaches the store whole, with the records it proves, or not
// at all.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "support/byte_codec.h"
#include "support/cache_store.h"
#include "support/digest.h"
#include "support/file_stamp.h"
#include "support/report_log.h"
#include "support/reporter.h"

namespace sylva {

// What a run found, for the summary of a run that proves nothing changed since.
struct ProofFigures {
    int items = 0;
    int files = 0;  // source files scanned
};

// The entries of one kind, in records of bounded size under the keys "<kind>:<number>".
class ProofStream {
  public:
    ProofStream(CacheStore& store, char kind) : store_(store), kind_(kind) {}

    // Where the next entry is written; Added() after each.
    ByteWriter& entry() { return pending_; }
    void Added();
    // Keeps the entries not yet kept.
    void Flush();
    // How many records were kept.
    std::uint64_t records() const { return records_; }

  private:
    CacheStore& store_;
    const char kind_;
    ByteWriter pending_;
    std::uint64_t entries_ = 0;
    std::uint64_t records_ = 0;
};

class RunProof : public ReportTap {
  public:
    explicit RunProof(CacheStore& store);

    // Makes the last run's proof void; called inside the run's transaction, before any entry.
    void Begin();

    // A source file the run read or filed from the cache: with `trusted`, its stamp alone shows it
    // unchanged; otherwise its bytes must still have the digest `bytes`.
    void Input(const std::string& path, const FileStamp& stamp, bool trusted, const Digest& bytes);
    void Listing(const std::string& directory, const std::vector<std::string>& names);
    // A file the run wrote or kept; with no stamp nothing can be proved.
    void Output(const std::string& path, const std::optional<FileStamp>& stamp);
    // Something the run depended on cannot be judged by a later run: no proof is kept.
    void Doubt() { doubtful_ = true; }

    void Protocol(std::string_view line) override;
    void Failure(std::string_view line) override;
    void Warning(std::string_view file, int line, const WarningMessage& message) override;
    void Status(std::string_view text) override;
    void Advance() override;

    // Keeps the proof under `key` with `figures`, unless there was a doubt.
    void Finish(const Digest& key, const ProofFigures& figures);

  private:
    // Keeps the report's events once they fill a record.
    void Told();
    void KeepReport();

    CacheStore& store_;
    ProofStream inputs_;
    ProofStream listings_;
    ProofStream outputs_;
    ReportLog report_;
    std::uint64_t reportRecords_ = 0;
    bool doubtful_ = false;
};

// The figures of the last run when its proof under `key` holds: every input and output as it
// left them and its report intact. Nothing when anything differs or cannot be read.
std::optional<ProofFigures> ProvenUnchanged(CacheStore& store, const Digest& key);

// Tells `reporter` what the run that kept the proof told; call after ProvenUnchanged.
void ReplayProvenReport(CacheStore& store, Reporter& reporter);

}  // namespace sylva
