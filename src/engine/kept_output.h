// KeptOutput: the output sink of a run that keeps a record of every file it wrote into the
// project directory. A file that already holds the bytes a stage hands over is left alone, so
// that unchanged pages keep their inode and modification time; at the end, the files the last
// run wrote and this one did not are removed.
#pragma once

#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "engine/cache_records.h"
#include "support/output_sink.h"

namespace sylva {

class KeptOutput : public OutputSink {
  public:
    // `fixedDate`: the run's date is fixed (SOURCE_DATE_EPOCH), so pages that differ only in
    // their date differ. `temporaryBase`: what the temporary files of streamed files are named
    // after.
    KeptOutput(bool fixedDate, std::string temporaryBase);

    // Adds the last run's record of `path`; called before any file is handed over.
    void AddPrevious(std::string path, OutputRecord record);
    // True when the file at `path` is as `record` left it.
    static bool Untouched(const std::string& path, const OutputRecord& record);

    Status Write(const std::string& path, const OutputText& text, OutputKind kind) override;
    std::unique_ptr<OutputStream> Open(const std::string& path, OutputKind kind) override;

    // The last run's record of `path`, or null.
    const OutputRecord* Previous(const std::string& path) const;
    // True when the file at `path` is as the last run left it.
    bool Untouched(const std::string& path) const;
    // Takes over the last run's file at `path` as this run's, unchanged; false when there was none.
    bool Keep(const std::string& path);
    // Keeps every file of `kind` the last run wrote; false, keeping none, when one of them is not
    // as it was left.
    bool KeepAll(OutputKind kind);
    // This run's record of `path`, written or kept; nothing when there is none.
    std::optional<OutputRecord> Current(const std::string& path) const;
    // Calls visit(path, record) for every file this run handed over rather than kept: the only
    // records that can differ from the last run's.
    void ForEachHandedOver(
        const std::function<void(const std::string&, const OutputRecord&)>& visit) const;
    // Calls visit(path, record) for every file this run wrote or kept, with its latest record.
    void ForEachLeft(
        const std::function<void(const std::string&, const OutputRecord&)>& visit) const;
    // The paths of the last run's records that this run neither wrote nor kept.
    std::vector<std::string> Gone() const;
    // The paths this run wrote.
    int written() const { return written_; }
    // True when `path` was handed over by this run (written, or found holding its bytes).
    bool Produced(const std::string& path) const;

    // The digest by which two versions of `text` count as the same file.
    Digest Comparable(const OutputText& text) const;

    // Records that `path` holds bytes of `kind` with digest `content`; called with the lock held
    // by the file's writer.
    void Recorded(const std::string& path, OutputKind kind, const Digest& content);

  private:
    friend class KeptStream;
    std::mutex& mutex() { return mutex_; }
    bool KeepUnlocked(const std::string& path);
    // True when the file at `path` holds exactly `bytes`.
    static bool Holds(const std::string& path, std::string_view bytes);

    mutable std::mutex mutex_;
    struct Last {
        OutputRecord record;
        // Taken over unchanged as this run's, unless the run hands the file over after all;
        // kept here rather than copied, as most files of a re-run are.
        bool kept = false;
    };
    std::unordered_map<std::string, Last> previous_;
    std::unordered_map<std::string, OutputRecord> current_;  // of the files handed over
    const bool fixedDate_;
    const std::string temporaryBase_;
    int written_ = 0;
};

}  // namespace sylva
