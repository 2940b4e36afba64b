// ReportLog: what a reporter was told, kept in order so that it can be told again. A run that
// skips work an earlier run did (a source file read before) tells the protocol, warnings and
// progress of that work as the earlier run recorded them, so that both runs report alike.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "support/byte_codec.h"
#include "support/warning_kind.h"

namespace sylva {

class Reporter;

class ReportLog {
  public:
    void Protocol(std::string_view line);
    void Failure(std::string_view line);
    void Warning(std::string_view file, int line, const WarningMessage& message);
    void Status(std::string_view text);
    void Advance();

    // Tells every event to `reporter`, in the order they came.
    void ReplayInto(Reporter& reporter) const;
    bool HasFailures() const;
    bool empty() const { return events_.empty(); }

    void Encode(ByteWriter& out) const;
    // Nothing when the bytes hold no log (a damaged record).
    static std::optional<ReportLog> Decode(ByteReader& in);

    friend bool operator==(const ReportLog&, const ReportLog&) = default;

  private:
    enum class Kind : unsigned char { kProtocol, kFailure, kWarning, kStatus, kAdvance, kCount };
    struct Event {
        Kind kind;
        std::string text;
        std::string file;    // of a warning
        int line = 0;        // of a warning; the number of steps of an advance
        std::string rule;    // of a warning: its kind
        std::string entity;  // of a warning: the documented entity, when known
        friend bool operator==(const Event&, const Event&) = default;
    };

    std::vector<Event> events_;
};

}  // namespace sylva
