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

// What is told every event a reporter is told (Reporter::Tap, Reporter::Keep), in order.
class ReportTap {
  public:
    virtual ~ReportTap() = default;
    virtual void Protocol(std::string_view line) = 0;
    virtual void Failure(std::string_view line) = 0;
    virtual void Warning(std::string_view file, int line, const WarningMessage& message) = 0;
    virtual void Status(std::string_view text) = 0;
    virtual void Advance() = 0;
};

class ReportLog : public ReportTap {
  public:
    void Protocol(std::string_view line) override;
    void Failure(std::string_view line) override;
    void Warning(std::string_view file, int line, const WarningMessage& message) override;
    void Status(std::string_view text) override;
    void Advance() override;

    // Tells every event to `reporter`, in the order they came.
    void ReplayInto(Reporter& reporter) const;
    bool HasFailures() const;
    bool empty() const { return events_.empty(); }
    // The events kept, an advance of many steps counting once.
    std::size_t size() const { return events_.size(); }

    void Encode(ByteWriter& out) const;
    // Nothing when the bytes hold no log (a damaged record).
    static std::optional<ReportLog> Decode(ByteReader& in);

    bool operator==(const ReportLog& other) const { return events_ == other.events_; }

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
