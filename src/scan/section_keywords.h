// SectionKeywords: the keyword lists of all sections, prepared once so that the key of a block
// line is matched against the few alternatives that can open it instead of every list in turn.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "scan/items.h"

namespace sylva {

// True iff `key` opens with `keyword` (ASCII case folded) followed by nothing or by ':'.
bool KeywordOpensKey(std::string_view keyword, std::string_view key);

// The text of a key behind its keyword of `keywordSize` bytes, without leading spaces and colons.
std::string_view TextBehindKeyword(std::string_view key, std::size_t keywordSize);

class SectionKeywords {
  public:
    struct Match {
        SectionKind section;
        std::string_view text;  // the key's text behind the keyword; a part of the key
    };

    // Prepares the keyword lists of `values`, a whole table of setting values.
    explicit SectionKeywords(const std::array<std::string, kSettingCount>& values);

    // The section whose keyword opens `key`, as trying the lists in their fixed order and each
    // list's alternatives in their order would find it (the first match wins); nothing when no
    // keyword opens it.
    std::optional<Match> Find(std::string_view key) const;

  private:
    struct Alternative {
        std::string keyword;
        SectionKind section;
    };

    std::vector<Alternative> alternatives_;  // in the order they are tried
    // For each byte, in trying order, the alternatives that a key opening with that byte (ASCII
    // letters folded) can match. An empty alternative can only match a key that opens with ':'.
    std::array<std::vector<std::size_t>, 256> byFirstByte_;
};

}  // namespace sylva
