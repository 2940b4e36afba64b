// Settings: the values of the settings table, with the keyword lists prepared from them.
#include "scan/section_keywords.h"
#include "support/zt_string.h"

namespace sylva {

namespace {
constexpr std::string_view kSylvaStyle = "sylva";
constexpr std::string_view kDoxygenStyle = "doxygen";
}  // namespace

std::optional<CommentStyle> ParseCommentStyle(std::string_view value) {
    if (EqualsNoCase(value, kSylvaStyle)) {
        return CommentStyle::kSylva;
    }
    if (EqualsNoCase(value, kDoxygenStyle)) {
        return CommentStyle::kDoxygen;
    }
    return std::nullopt;
}

Settings::Settings() {
    SetDefaults();
}

void Settings::Set(SettingId id, std::string value) {
    values_[static_cast<std::size_t>(id)] = std::move(value);
    Prepare();
}

void Settings::Assign(std::array<std::string, kSettingCount> values) {
    values_ = std::move(values);
    Prepare();
}

void Settings::SetDefaults() {
    for (std::size_t id = 0; id < values_.size(); ++id) {
        if (values_[id].empty()) {
            values_[id] = kSettingDefinitions[id].defaultValue;
        }
    }
    Prepare();
}

void Settings::Prepare() {
    keywords_ = std::make_shared<const SectionKeywords>(values_);
}

}  // namespace sylva
