#include "support/report_log.h"

#include "support/reporter.h"

namespace sylva {

void ReportLog::Protocol(std::string_view line) {
    events_.push_back({Kind::kProtocol, std::string(line), {}, 0, {}, {}});
}

void ReportLog::Failure(std::string_view line) {
    events_.push_back({Kind::kFailure, std::string(line), {}, 0, {}, {}});
}

void ReportLog::Warning(std::string_view file, int line, const WarningMessage& message) {
    events_.push_back({Kind::kWarning, message.text, std::string(file), line,
                       std::string(message.rule), message.entity});
}

void ReportLog::Status(std::string_view text) {
    events_.push_back({Kind::kStatus, std::string(text), {}, 0, {}, {}});
}

void ReportLog::Advance() {
    // A file of many blocks advances once per block: the steps are counted, not listed.
    if (!events_.empty() && events_.back().kind == Kind::kAdvance) {
        ++events_.back().line;
        return;
    }
    events_.push_back({Kind::kAdvance, {}, {}, 1, {}, {}});
}

void ReportLog::ReplayInto(Reporter& reporter) const {
    for (const Event& event : events_) {
        switch (event.kind) {
            case Kind::kProtocol:
                reporter.Protocol(event.text);
                break;
            case Kind::kFailure:
                reporter.Failure(event.text);
                break;
            case Kind::kWarning:
                reporter.Warning(event.file, event.line,
                                 WarningMessage(event.rule, event.text, event.entity));
                break;
            case Kind::kStatus:
                reporter.Status(event.text);
                break;
            case Kind::kAdvance:
                for (int step = 0; step < event.line; ++step) {
                    reporter.Advance();
                }
                break;
            case Kind::kCount:
                break;
        }
    }
}

bool ReportLog::HasFailures() const {
    for (const Event& event : events_) {
        if (event.kind == Kind::kFailure) {
            return true;
        }
    }
    return false;
}

void ReportLog::Encode(ByteWriter& out) const {
    out.Number(events_.size());
    for (const Event& event : events_) {
        out.Number(static_cast<std::uint64_t>(event.kind)).Text(event.text).Text(event.file);
        out.Signed(event.line).Text(event.rule).Text(event.entity);
    }
}

std::optional<ReportLog> ReportLog::Decode(ByteReader& in) {
    ReportLog log;
    const std::uint64_t count = in.Number();
    for (std::uint64_t i = 0; in.ok() && i < count; ++i) {
        Event event;
        event.kind = static_cast<Kind>(in.Below(static_cast<std::uint64_t>(Kind::kCount)));
        event.text = in.Text();
        event.file = in.Text();
        event.line = static_cast<int>(in.Signed());
        event.rule = in.Text();
        event.entity = in.Text();
        log.events_.push_back(std::move(event));
    }
    if (!in.ok()) {
        return std::nullopt;
    }
    return log;
}

}  // namespace sylva
