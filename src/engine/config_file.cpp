// Loading a configuration file over a run's settings.
//
// Format: one "KEY=value" per line. The key is the text before the first "=", the value all
// after it; both lose spaces and line feeds at their ends (tabs and other bytes stay). Keys match
// exactly, case included; any other line (blank, comment, unknown key) is skipped, and a file's
// unknown keys and the values a key cannot take are told in one warning each. The
// first line of a key in a file empties the setting, and every line of that key appends its value
// without a separator, so a long template is written as several lines repeating its key. Lines
// are read in pieces of at most 999 bytes, each piece handled as a line of its own.
#include <algorithm>
#include <bitset>
#include <vector>

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
// Each warning in the singular and the plural.
constexpr std::string_view kUnknownKeys[] = {"%d line sets no known key and is skipped: %s",
                                             "%d lines set no known key and are skipped: %s"};
constexpr std::string_view kUntakenValues[] = {"%d key holds a value it cannot take: %s",
                                               "%d keys hold values they cannot take: %s"};
constexpr std::string_view kNamedLine = "line %d \"%s\"";
constexpr std::string_view kNamedValue = "line %d %s=\"%s\"";
constexpr std::string_view kListSeparator = ", ";
constexpr std::string_view kMoreListed = ", ...";
// Enough to find them; a file of random bytes must not give a warning of thousands of lines.
constexpr std::size_t kListedLines = 3;
constexpr std::size_t kShownChars = 40;
constexpr std::string_view kBlank = " \t\r\n\f\v";
constexpr std::string_view kCommentStarts[] = {"#", ";", "//"};

// `text` cut to kShownChars bytes, each byte outside printable ASCII written as \xNN, so that a
// warning stays one readable line whatever the file holds.
std::string Shown(std::string_view text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string shown;
    for (unsigned char byte : text.substr(0, kShownChars)) {
        if (byte >= 0x20 && byte < 0x7F) {
            shown.push_back(static_cast<char>(byte));
        } else {
            shown.append("\\x").append(1, kHex[byte >> 4]).append(1, kHex[byte & 0xF]);
        }
    }
    if (text.size() > kShownChars) {
        shown.append("...");
    }
    return shown;
}

// Lines of one kind a file held: how many, where the first was, and the first few as shown.
class LineTally {
  public:
    void Add(int line, std::string shown) {
        if (count_++ == 0 || line < firstLine_) {
            firstLine_ = line;
        }
        if (listed_.size() < kListedLines) {
            listed_.push_back(std::move(shown));
        }
    }

    // Warns of the lines with `patterns` ("%d ...: %s", singular and plural) at the first of
    // them; nothing without any.
    void Tell(Reporter& reporter, const std::string& path,
              const std::string_view (&patterns)[2]) const {
        if (count_ == 0) {
            return;
        }
        std::string list;
        for (const std::string& entry : listed_) {
            list.append(list.empty() ? "" : kListSeparator).append(entry);
        }
        if (static_cast<std::size_t>(count_) > listed_.size()) {
            list.append(kMoreListed);
        }
        reporter.Warning(path, firstLine_,
                         FormatLine(patterns[count_ == 1 ? 0 : 1], {std::to_string(count_), list}));
    }

  private:
    int count_ = 0;
    int firstLine_ = 0;
    std::vector<std::string> listed_;
};

bool IsComment(std::string_view key) {
    return std::any_of(std::begin(kCommentStarts), std::end(kCommentStarts),
                       [key](std::string_view start) { return key.starts_with(start); });
}

}  // namespace

bool LoadConfig(Settings& settings, const std::string& path, CZTListBox* protocol,
                Reporter* warnings) {
    const Reporter reporter(protocol);
    LineReader reader;
    std::string readPath = path;
    if (!reader.Open(path)) {
        reporter.Protocol(FormatLine(kCannotAccessConfigLine, {path}));
        bool fellBack = false;
        if (!EqualsNoCase(path, kConfigFileName)) {
            fellBack = reader.Open(kConfigFileName);
            readPath = kConfigFileName;
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
    std::array<int, kSettingCount> lastLine{};
    LineTally unknownKeys;
    std::string piece;
    int lineNumber = 0;
    bool atLineStart = true;
    while (reader.ReadPiece(piece, kConfigPieceLength)) {
        lineNumber += atLineStart ? 1 : 0;
        atLineStart = piece.ends_with('\n');
        std::string_view text = piece;
        std::size_t equals = text.find('=');
        std::string_view key = TrimView(text.substr(0, equals), kTrimmed);
        std::optional<SettingId> id = FindSettingByKey(key);
        if (!id) {
            if (TrimView(text, kBlank).size() > 0 && !IsComment(TrimView(key, kBlank))) {
                unknownKeys.Add(lineNumber,
                                FormatLine(kNamedLine, {std::to_string(lineNumber), Shown(key)}));
            }
            continue;
        }
        lastLine[*id] = lineNumber;
        std::string_view value =
            equals == text.npos ? std::string_view() : TrimView(text.substr(equals + 1), kTrimmed);
        std::string& setting = values[static_cast<std::size_t>(*id)];
        if (!seen[*id]) {
            seen[*id] = true;
            setting.clear();
        }
        setting.append(value);
    }
    if (warnings != nullptr) {
        LineTally untakenValues;
        for (int id = 0; id < kSettingCount; ++id) {
            const std::string& value = values[static_cast<std::size_t>(id)];
            if (seen[id] && !SettingTakes(SettingId(id), value)) {
                untakenValues.Add(
                    lastLine[id],
                    FormatLine(kNamedValue, {std::to_string(lastLine[id]),
                                             kSettingDefinitions[id].key, Shown(value)}));
            }
        }
        unknownKeys.Tell(*warnings, readPath, kUnknownKeys);
        untakenValues.Tell(*warnings, readPath, kUntakenValues);
    }
    settings.Assign(std::move(values));
    return true;
}

}  // namespace sylva
