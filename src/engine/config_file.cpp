// Loading a configuration file over a run's settings.
//
// Format: one "KEY=value" per line. The key is the text before the first "=", the value all
// after it; both lose spaces and line feeds at their ends (tabs and other bytes stay). Keys match
// exactly, case included; any other line (blank, comment, unknown key) is skipped silently. The
// first line of a key in a file empties the setting, and every line of that key appends its value
// without a separator, so a long template is written as several lines repeating its key. Lines
// are read in pieces of at most 999 bytes, each piece handled as a line of its own.
#include <bitset>

#include "engine/engine.h"
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

bool LoadConfig(Settings& settings, const std::string& path, CZTListBox* protocol) {
    const Reporter reporter(protocol);
    LineReader reader;
    if (!reader.Open(path)) {
        reporter.Protocol(FormatLine(kCannotAccessConfigLine, {path}));
        bool fellBack = false;
        if (!EqualsNoCase(path, kConfigFileName)) {
            fellBack = reader.Open(kConfigFileName);
            if (!fellBack) {
                reporter.Protocol(FormatLine(kCannotAccessStandardConfigLine, {kConfigFileName}));
            }
        }
        if (!fellBack) {
            settings.SetDefaults();
            return false;
        }
    }

    std::array<std::string, kSettingCount> values = settings.Values();
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
        std::string& setting = values[static_cast<std::size_t>(*id)];
        if (!seen[*id]) {
            seen[*id] = true;
            setting.clear();
        }
        setting.append(value);
    }
    settings.Assign(std::move(values));
    return true;
}

}  // namespace sylva
