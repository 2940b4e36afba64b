#include "engine/scan_source.h"

#include "scan/section_keywords.h"
#include "scan/syl_item.h"
#include "support/text_format.h"

namespace sylva {

namespace {

// Indented as a line about one item or file.
constexpr std::string_view kWarningLine = "    WARNING: %s:%d: %s";

}  // namespace

CZTScanSource::CZTScanSource() {
    SetDefaults();
}

CZTScanSource::CZTScanSource(const std::string& configPath) : CZTScanSource() {
    LoadConfig(configPath, nullptr);
}

CZTScanSource::~CZTScanSource() = default;

void CZTScanSource::SetDefaults() {
    ++settingsGeneration_;
    for (int id = 0; id < kSettingCount; ++id) {
        if (settings_[id].empty()) {
            settings_[id] = kSettingDefinitions[id].defaultValue;
        }
    }
}

void CZTScanSource::Protocol(std::string_view line) const {
    if (protocol != nullptr) {
        protocol->AddSelString(line, 1, 1000);
    }
}

void CZTScanSource::ProtocolFailure(std::string_view line) {
    ++failureCount;
    Protocol(line);
}

void CZTScanSource::Warning(std::string_view file, int line, std::string_view text) {
    ++warningCount;
    if (diagnostics != nullptr) {
        diagnostics->Warning(file, line, text);
    } else {
        Protocol(FormatLine(kWarningLine, {file, std::to_string(line), text}));
    }
}

void CZTScanSource::ProgressStatus(std::string_view text) const {
    if (progress != nullptr) {
        progress->SetStatus(text);
    }
}

void CZTScanSource::AdvanceProgress() {
    if (progress != nullptr) {
        progress->SetPos(progressPos);
    }
    ++progressPos;
}

}  // namespace sylva
