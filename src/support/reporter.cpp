#include "support/reporter.h"

#include <string>

#include "support/text_format.h"

namespace sylva {

namespace {

// Indented as a line about one item or file.
constexpr std::string_view kWarningLine = "    WARNING: %s:%d: %s";

}  // namespace

void Reporter::Protocol(std::string_view line) const {
    TellTaps([&](ReportTap& tap) { tap.Protocol(line); });
    AddLine(line);
}

void Reporter::AddLine(std::string_view line) const {
    if (protocol_ != nullptr) {
        protocol_->AddSelString(line, 1, 1000);
    }
}

void Reporter::Failure(std::string_view line) {
    ++failureCount_;
    TellTaps([&](ReportTap& tap) { tap.Failure(line); });
    if (diagnostics_ != nullptr) {
        diagnostics_->Error(line);
    }
    AddLine(line);
}

void Reporter::Warning(std::string_view file, int line, std::string_view text) {
    Warning(file, line, WarningMessage(kUnclassifiedRule, std::string(text)));
}

void Reporter::Warning(std::string_view file, int line, const WarningMessage& message) {
    ++warningCount_;
    TellTaps([&](ReportTap& tap) { tap.Warning(file, line, message); });
    if (diagnostics_ != nullptr) {
        diagnostics_->WarningOfKind(file, line, message);
    } else {
        AddLine(FormatLine(kWarningLine, {file, std::to_string(line), message.text}));
    }
}

void Reporter::Status(std::string_view text) const {
    TellTaps([&](ReportTap& tap) { tap.Status(text); });
    if (progress_ != nullptr) {
        progress_->SetStatus(text);
    }
}

void Reporter::Advance() {
    TellTaps([](ReportTap& tap) { tap.Advance(); });
    if (progress_ != nullptr) {
        progress_->SetPos(progressPos_);
    }
    ++progressPos_;
}

}  // namespace sylva
