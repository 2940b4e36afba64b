// The settings of a run: every value of the settings table with the section keyword lists
// prepared for matching, and the comment styles a run can read.
#pragma once

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "support/setting_table.h"

namespace sylva {

class SectionKeywords;

// The settings of one run: every value of the settings table, and the section keyword lists
// prepared for matching.
//
// Invariant: the prepared lists always match the values; every change prepares them anew at
// once. So a Settings that no one changes only reads, and the threads of a run may share it.
class Settings {
  public:
    // Every setting at its default.
    Settings();

    const std::string& operator[](SettingId id) const {
        return values_[static_cast<std::size_t>(id)];
    }
    void Set(SettingId id, std::string value);
    // Replaces every value at once, preparing the lists once (a loaded configuration file).
    void Assign(std::array<std::string, kSettingCount> values);
    const std::array<std::string, kSettingCount>& Values() const { return values_; }
    // Gives every empty setting its default; a setting that holds any text keeps it.
    void SetDefaults();

    const SectionKeywords& Keywords() const { return *keywords_; }

  private:
    void Prepare();

    std::array<std::string, kSettingCount> values_;
    std::shared_ptr<const SectionKeywords> keywords_;
};

// How the sources of a run write their documentation: in marker blocks with keyword lines, or in
// the Javadoc/Doxygen comment style ("/** ... */", "///" and their commands).
enum class CommentStyle : unsigned char { kSylva, kDoxygen };

// The comment style a setting's value names ("sylva" or "doxygen", in any letter case), or
// nothing when it names none.
std::optional<CommentStyle> ParseCommentStyle(std::string_view value);

}  // namespace sylva
