// WarningBaseline: the warnings a project has accepted for now, so that a CI can fail a change
// that adds a warning while old ones are still being fixed.
//
// A warning is keyed by its file (relative to the diagnostics base, as in the SARIF log), its
// kind, its entity and its message with the line numbers it quotes left out, never by its own
// line: moving code up or down a file keeps the key. Keys are counted, so two equal warnings need
// two entries. The file is versioned JSON naming its project; a file that is malformed, of
// another project or of a newer schema is refused as a whole, never read in part.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>

#include "support/diagnostic_sink.h"
#include "support/status.h"

namespace sylva {

inline constexpr int kBaselineSchema = 1;

struct BaselineKey {
    std::string file;
    std::string rule;
    std::string entity;
    std::string message;
    friend auto operator<=>(const BaselineKey&, const BaselineKey&) = default;
};

// `text` without the line numbers it quotes: the digits behind a ':' ("first at a.h:12").
std::string MessageWithoutLines(std::string_view text);

class WarningBaseline {
  public:
    using Counts = std::map<BaselineKey, int>;

    // Reads the baseline at `path` for `project`. Nothing when there is no file there; the
    // refusal's reason in `problem` when it cannot be used (unreadable, malformed, another
    // project's, a newer schema).
    static std::optional<WarningBaseline> Read(const std::string& path, std::string_view project,
                                               std::string& problem);

    // Counts one warning of the run against the baseline; true when the baseline holds no more
    // of its key, so that it is new.
    bool Count(const BaselineKey& key);
    // The baseline's warnings that the run did not give.
    int Gone() const;

    // `counts` as the document of a baseline of `project`.
    static std::string Document(std::string_view project, const Counts& counts);

  private:
    Counts remaining_;
};

// Stands between a run and its warning sink `next`: records every warning's key and counts the
// new ones against an optional baseline.
class BaselineRecorder : public DiagnosticSink {
  public:
    // `base` is the absolute directory file keys are relative to. Neither pointer is owned.
    BaselineRecorder(std::string base, WarningBaseline* baseline, DiagnosticSink* next)
        : base_(std::move(base)), baseline_(baseline), next_(next) {}

    void Warning(std::string_view file, int line, std::string_view text) override;
    void WarningOfKind(std::string_view file, int line, const WarningMessage& message) override;
    void Error(std::string_view line) override;

    const WarningBaseline::Counts& counts() const { return counts_; }
    int newWarnings() const { return new_; }

  private:
    std::string base_;
    WarningBaseline* baseline_;
    DiagnosticSink* next_;
    WarningBaseline::Counts counts_;
    int new_ = 0;
};

}  // namespace sylva
