#include "engine/kept_output.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "support/atomic_file.h"
#include "support/file_output.h"
#include "support/line_reader.h"

namespace sylva {

// A file written piece by piece into a temporary file beside it, which replaces it at Close only
// when its bytes differ: an index page of the same bytes keeps its inode and time.
class KeptStream : public OutputStream {
  public:
    KeptStream(KeptOutput& sink, std::string path, OutputKind kind)
        : sink_(sink),
          path_(std::move(path)),
          temporary_(UniqueTemporaryPath(sink.temporaryBase_)),
          kind_(kind) {
        openFailed_ = file_.Open(temporary_).code() == Status::Code::kOpenFailed;
    }
    ~KeptStream() override {
        if (!closed_) {
            (void)file_.Close();
            ::unlink(temporary_.c_str());
        }
    }

    void Append(std::string_view text) override {
        file_.Append(text);
        comparable_.Bytes(text);
    }

    void AppendDated(std::string_view dated, std::string_view undated) override {
        file_.Append(dated);
        comparable_.Bytes(sink_.fixedDate_ ? dated : undated);
    }

    Status Close() override {
        closed_ = true;
        Status status = file_.Close();
        if (!status.ok()) {
            ::unlink(temporary_.c_str());
            return status;
        }
        const Digest content = comparable_.Finish();
        std::lock_guard lock(sink_.mutex());
        const OutputRecord* previous = sink_.Previous(path_);
        if (previous != nullptr && previous->content == content && sink_.Untouched(path_)) {
            ::unlink(temporary_.c_str());
        } else if (::rename(temporary_.c_str(), path_.c_str()) != 0) {
            status = Status::WriteFailed(std::strerror(errno));
            ::unlink(temporary_.c_str());
            return status;
        } else {
            ++sink_.written_;
        }
        sink_.Recorded(path_, kind_, content);
        return status;
    }

    bool OpenFailed() const override { return openFailed_; }

  private:
    KeptOutput& sink_;
    const std::string path_;
    const std::string temporary_;
    const OutputKind kind_;
    BufferedOutputFile file_;
    Hasher comparable_;
    bool openFailed_ = false;
    bool closed_ = false;
};

KeptOutput::KeptOutput(bool fixedDate, std::string temporaryBase)
    : fixedDate_(fixedDate), temporaryBase_(std::move(temporaryBase)) {}

void KeptOutput::AddPrevious(std::string path, OutputRecord record) {
    std::lock_guard lock(mutex_);
    previous_.insert_or_assign(std::move(path), Last{std::move(record)});
}

bool KeptOutput::Untouched(const std::string& path, const OutputRecord& record) {
    return record.stamp && StampOfEntry(path) == record.stamp;
}

Digest KeptOutput::Comparable(const OutputText& text) const {
    if (fixedDate_ || text.datedFrom >= text.bytes.size()) {
        return Hasher().Bytes(text.bytes).Finish();
    }
    return Hasher().Bytes(text.bytes.substr(0, text.datedFrom)).Bytes(text.undatedTail).Finish();
}

bool KeptOutput::Holds(const std::string& path, std::string_view bytes) {
    std::optional<FileStamp> stamp = StampOfEntry(path);
    if (!stamp || stamp->size != bytes.size()) {
        return false;
    }
    LineReader reader;
    std::string content;
    return reader.Open(path) && reader.ReadRest(content) && content == bytes;
}

Status KeptOutput::Write(const std::string& path, const OutputText& text, OutputKind kind) {
    const Digest content = Comparable(text);
    {
        std::lock_guard lock(mutex_);
        const OutputRecord* previous = Previous(path);
        // With a record, the file is trusted to hold what it recorded while its stamp is the
        // same; without one (or after a run that was killed), the file itself is compared.
        const bool same = previous != nullptr && previous->content == content && Untouched(path);
        if (same || Holds(path, text.bytes)) {
            Recorded(path, kind, content);
            return Status::Ok();
        }
    }
    Status status = WriteWholeFile(path, text.bytes);
    std::lock_guard lock(mutex_);
    if (status.ok()) {
        ++written_;
        Recorded(path, kind, content);
    }
    return status;
}

std::unique_ptr<OutputStream> KeptOutput::Open(const std::string& path, OutputKind kind) {
    return std::make_unique<KeptStream>(*this, path, kind);
}

const OutputRecord* KeptOutput::Previous(const std::string& path) const {
    auto found = previous_.find(path);
    return found == previous_.end() ? nullptr : &found->second.record;
}

bool KeptOutput::Untouched(const std::string& path) const {
    const OutputRecord* previous = Previous(path);
    return previous != nullptr && Untouched(path, *previous);
}

bool KeptOutput::Keep(const std::string& path) {
    std::lock_guard lock(mutex_);
    return KeepUnlocked(path);
}

bool KeptOutput::KeepUnlocked(const std::string& path) {
    auto found = previous_.find(path);
    if (found == previous_.end()) {
        return false;
    }
    found->second.kept = true;
    return true;
}

bool KeptOutput::KeepAll(OutputKind kind) {
    std::lock_guard lock(mutex_);
    std::vector<std::string> paths;
    for (const auto& [path, last] : previous_) {
        if (last.record.kind == kind) {
            if (!Untouched(path)) {
                return false;
            }
            paths.push_back(path);
        }
    }
    for (const std::string& path : paths) {
        KeepUnlocked(path);
    }
    return !paths.empty();
}

std::optional<OutputRecord> KeptOutput::Current(const std::string& path) const {
    std::lock_guard lock(mutex_);
    if (auto found = current_.find(path); found != current_.end()) {
        return found->second;
    }
    auto last = previous_.find(path);
    return last != previous_.end() && last->second.kept ? std::optional(last->second.record)
                                                        : std::nullopt;
}

void KeptOutput::ForEachHandedOver(
    const std::function<void(const std::string&, const OutputRecord&)>& visit) const {
    std::lock_guard lock(mutex_);
    for (const auto& [path, record] : current_) {
        visit(path, record);
    }
}

void KeptOutput::ForEachLeft(
    const std::function<void(const std::string&, const OutputRecord&)>& visit) const {
    std::lock_guard lock(mutex_);
    for (const auto& [path, record] : current_) {
        visit(path, record);
    }
    for (const auto& [path, last] : previous_) {
        if (last.kept && !current_.contains(path)) {
            visit(path, last.record);
        }
    }
}

bool KeptOutput::Produced(const std::string& path) const {
    if (current_.contains(path)) {
        return true;
    }
    auto last = previous_.find(path);
    return last != previous_.end() && last->second.kept;
}

void KeptOutput::Recorded(const std::string& path, OutputKind kind, const Digest& content) {
    OutputRecord& record = current_[path];
    record.kind = kind;
    record.content = content;
    record.stamp = StampOfEntry(path);
}

std::vector<std::string> KeptOutput::Gone() const {
    std::vector<std::string> gone;
    for (const auto& [path, last] : previous_) {
        if (!last.kept && !current_.contains(path)) {
            gone.push_back(path);
        }
    }
    return gone;
}

}  // namespace sylva
