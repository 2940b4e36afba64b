#include "support/warning_baseline.h"

#include <cctype>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

#include <nlohmann/json.hpp>

#include "support/diagnostic_log.h"
#include "support/json_text.h"
#include "support/text_format.h"

namespace sylva {

namespace {

using Json = nlohmann::json;

constexpr std::string_view kNotReadable = "it cannot be read";
constexpr std::string_view kNotJson = "it is not valid JSON";
constexpr std::string_view kNoSchema = "it names no schema version";
constexpr std::string_view kNewerSchema =
    "it was written with schema version %s; this Sylva reads version %s and older";
constexpr std::string_view kOtherProject = "it belongs to the project \"%s\", not to \"%s\"";
constexpr std::string_view kBadEntry = "its warning entry %s is not a set of texts and a count";
constexpr std::string_view kToolName = "sylva";

// The entry's text field `name`, or nothing when it is missing or not a text.
const std::string* TextField(const Json& entry, const char* name) {
    auto found = entry.find(name);
    return found != entry.end() && found->is_string() ? &found->get_ref<const std::string&>()
                                                      : nullptr;
}

}  // namespace

std::string MessageWithoutLines(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        out.push_back(text[i]);
        if (text[i] == ':') {
            while (i + 1 < text.size() && std::isdigit(static_cast<unsigned char>(text[i + 1]))) {
                ++i;
            }
        }
    }
    return out;
}

std::optional<WarningBaseline> WarningBaseline::Read(const std::string& path,
                                                     std::string_view project,
                                                     std::string& problem) {
    problem.clear();
    std::error_code error;
    if (!std::filesystem::exists(std::filesystem::symlink_status(path, error))) {
        return std::nullopt;
    }
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    if (!in || !(bytes << in.rdbuf())) {
        problem = kNotReadable;
        return std::nullopt;
    }
    const Json document = Json::parse(bytes.str(), nullptr, false);
    if (document.is_discarded() || !document.is_object()) {
        problem = kNotJson;
        return std::nullopt;
    }
    auto schema = document.find("schema");
    if (schema == document.end() || !schema->is_number_integer()) {
        problem = kNoSchema;
        return std::nullopt;
    }
    if (schema->get<long long>() > kBaselineSchema) {
        problem = FormatLine(kNewerSchema, {std::to_string(schema->get<long long>()),
                                            std::to_string(kBaselineSchema)});
        return std::nullopt;
    }
    const std::string* owner = TextField(document, "project");
    if (owner == nullptr || *owner != project) {
        problem = FormatLine(kOtherProject, {owner ? *owner : std::string(), project});
        return std::nullopt;
    }
    auto warnings = document.find("warnings");
    if (warnings == document.end() || !warnings->is_array()) {
        problem = FormatLine(kBadEntry, {"list"});
        return std::nullopt;
    }
    WarningBaseline baseline;
    std::size_t index = 0;
    for (const Json& entry : *warnings) {
        ++index;
        const std::string* file = entry.is_object() ? TextField(entry, "file") : nullptr;
        const std::string* rule = file ? TextField(entry, "rule") : nullptr;
        const std::string* entity = rule ? TextField(entry, "entity") : nullptr;
        const std::string* message = entity ? TextField(entry, "message") : nullptr;
        auto count = message ? entry.find("count") : entry.end();
        if (message == nullptr || count == entry.end() || !count->is_number_integer() ||
            count->get<long long>() < 1 || count->get<long long>() > 1'000'000'000) {
            problem = FormatLine(kBadEntry, {std::to_string(index)});
            return std::nullopt;
        }
        baseline.remaining_[{*file, *rule, *entity, *message}] +=
            static_cast<int>(count->get<long long>());
    }
    return baseline;
}

bool WarningBaseline::Count(const BaselineKey& key) {
    auto found = remaining_.find(key);
    if (found == remaining_.end() || found->second == 0) {
        return true;
    }
    --found->second;
    return false;
}

int WarningBaseline::Gone() const {
    int gone = 0;
    for (const auto& [key, count] : remaining_) {
        gone += count;
    }
    return gone;
}

std::string WarningBaseline::Document(std::string_view project, const Counts& counts) {
    std::string out = "{\n  \"schema\": " + std::to_string(kBaselineSchema);
    out.append(",\n  \"tool\": ").append(JsonString(kToolName));
    out.append(",\n  \"version\": ").append(JsonString(SYLVA_VERSION));
    out.append(",\n  \"project\": ").append(JsonString(project));
    out.append(",\n  \"warnings\": [");
    bool first = true;
    for (const auto& [key, count] : counts) {
        out.append(first ? "\n" : ",\n");
        first = false;
        out.append("    {\"file\": ").append(JsonString(key.file));
        out.append(", \"rule\": ").append(JsonString(key.rule));
        out.append(", \"entity\": ").append(JsonString(key.entity));
        out.append(", \"message\": ").append(JsonString(key.message));
        out.append(", \"count\": ").append(std::to_string(count)).append("}");
    }
    out.append(first ? "]\n}\n" : "\n  ]\n}\n");
    return out;
}

void BaselineRecorder::Warning(std::string_view file, int line, std::string_view text) {
    WarningOfKind(file, line, WarningMessage(kUnclassifiedRule, std::string(text)));
}

void BaselineRecorder::WarningOfKind(std::string_view file, int line,
                                     const WarningMessage& message) {
    if (next_ != nullptr) {
        next_->WarningOfKind(file, line, message);
    }
    bool relative = false;
    BaselineKey key{FileUri(file, base_, relative), std::string(message.rule), message.entity,
                    MessageWithoutLines(message.text)};
    if (baseline_ != nullptr && baseline_->Count(key)) {
        ++new_;
    }
    ++counts_[std::move(key)];
}

void BaselineRecorder::Error(std::string_view line) {
    if (next_ != nullptr) {
        next_->Error(line);
    }
}

}  // namespace sylva
