// Loading a configuration file over the generator's settings.
//
// Format: one "KEY=value" per line. The key is the text before the first "=", the value all
// after it; both lose spaces and line feeds at their ends (tabs and other bytes stay). Keys match
// exactly, case included; any other line (blank, comment, unknown key) is skipped silently. The
// first line of a key in a file empties the setting, and every line of that key appends its value
// without a separator, so a long template is written as several lines repeating its key. Lines
// are read in pieces of at most 999 bytes, each piece handled as a line of its own.
#include <bitset>

#include "engine/scan_source.h"
#include "support/line_reader.h"
#include "support/text_format.h"
#include "support/zt_string.h"

namespace sylva {

namespace {

constexpr std::size_t kConfigPieceLength = 999;
constexpr std::string_view kTrimmed = " \n";
constexpr std::string_view kCannotAccessConfigLine = "ERROR: Cannot access to config file %s.";
constexpr std::string_view kCannotAccessStandardConfigLine =
    "ERROR: Cannot access to standard config file %s.";

}  // namespace

bool CZTScanSource::LoadConfig(const std::string& path, CZTListBox* protocolList) {
    protocol = protocolList;
    LineReader reader;
    if (!reader.Open(path)) {
        Protocol(FormatLine(kCannotAccessConfigLine, {path}));
        bool fellBack = false;
        if (!EqualsNoCase(path, kConfigFileName)) {
            fellBack = reader.Open(kConfigFileName);
            if (!fellBack) {
                Protocol(FormatLine(kCannotAccessStandardConfigLine, {kConfigFileName}));
            }
        }
        if (!fellBack) {
            SetDefaults();
            return false;
        }
    }

    ++settingsGeneration_;
    std::bitset<kSettingCount> seen;
    std::string piece;
    while (reader.ReadPiece(piece, kConfigPieceLength)) {
        std::string_view text = piece;
        std::size_t equals = text.find('=');
        std::string_view key = TrimView(text.substr(0, equals), kTrimmed);
        std::optional<SettingId> id = FindSettingByKey(key);
        if (!id) {
            continue;
        }
        std::string_view value =
            equals == text.npos ? std::string_view() : TrimView(text.substr(equals + 1), kTrimmed);
        if (!seen[*id]) {
            seen[*id] = true;
            settings_[*id].clear();
        }
        settings_[*id].append(value);
    }
    return true;
}

}  // namespace sylva
