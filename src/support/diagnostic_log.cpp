#include "support/diagnostic_log.h"

#include <filesystem>
#include <system_error>

#include "support/atomic_file.h"
#include "support/json_text.h"
#include "support/zt_string.h"

namespace sylva {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kToolName = "sylva";
constexpr std::string_view kBaseId = "SRCROOT";
constexpr std::string_view kErrorRule = "sylva.error";
constexpr std::string_view kJsonLinesExtension = ".jsonl";
constexpr std::string_view kSarifStart =
    "{\"$schema\":\"https://json.schemastore.org/sarif-2.1.0.json\",\"version\":\"2.1.0\","
    "\"runs\":[{\"results\":[";

bool Unreserved(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '.' || c == '_' || c == '~' || c == '/';
}

std::string PercentEncoded(std::string_view path) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (char c : path) {
        const auto byte = static_cast<unsigned char>(c);
        if (Unreserved(byte)) {
            out.push_back(c);
        } else {
            out.push_back('%');
            out.push_back(kHex[byte >> 4]);
            out.push_back(kHex[byte & 0xF]);
        }
    }
    return out;
}

}  // namespace

std::string DiagnosticsBase(const std::string& directory) {
    std::error_code error;
    fs::path absolute = fs::absolute(directory.empty() ? "." : directory, error);
    std::string text = absolute.lexically_normal().generic_string();
    if (text.empty() || text.back() != '/') {
        text.push_back('/');
    }
    return text;
}

std::optional<DiagnosticFormat> ParseDiagnosticFormat(std::string_view name) {
    CZTString upper(name);
    upper.MakeUpper();
    if (upper == "SARIF") {
        return DiagnosticFormat::kSarif;
    }
    if (upper == "JSONL") {
        return DiagnosticFormat::kJsonLines;
    }
    return std::nullopt;
}

DiagnosticFormat DiagnosticFormatOf(std::string_view path) {
    return path.ends_with(kJsonLinesExtension) ? DiagnosticFormat::kJsonLines
                                               : DiagnosticFormat::kSarif;
}

std::string FileUri(std::string_view file, const std::string& base, bool& relative) {
    std::error_code error;
    const fs::path absolute = fs::absolute(fs::path(file), error).lexically_normal();
    fs::path basePath(base);
    if (!basePath.has_filename()) {
        basePath = basePath.parent_path();
    }
    const fs::path below = absolute.lexically_relative(basePath);
    const std::string belowText = below.generic_string();
    relative = !below.empty() && !belowText.starts_with("..");
    if (relative) {
        return PercentEncoded(belowText);
    }
    return "file://" + PercentEncoded(absolute.generic_string());
}

DiagnosticLog::DiagnosticLog(std::string path, DiagnosticFormat format,
                             const std::string& baseDirectory, std::string_view toolVersion,
                             DiagnosticSink* next)
    : path_(std::move(path)),
      format_(format),
      base_(DiagnosticsBase(baseDirectory)),
      toolVersion_(toolVersion),
      next_(next),
      out_(path_) {
    if (format_ == DiagnosticFormat::kSarif) {
        Append(std::string(kSarifStart));
    }
}

DiagnosticLog::~DiagnosticLog() = default;

void DiagnosticLog::Warning(std::string_view file, int line, std::string_view text) {
    WarningOfKind(file, line, WarningMessage(kUnclassifiedRule, std::string(text)));
}

void DiagnosticLog::WarningOfKind(std::string_view file, int line, const WarningMessage& message) {
    if (next_ != nullptr) {
        next_->WarningOfKind(file, line, message);
    }
    Write("warning", message.rule, message.text, file, line, message.entity);
}

void DiagnosticLog::Error(std::string_view line) {
    if (next_ != nullptr) {
        next_->Error(line);
    }
    const std::size_t start = line.find_first_not_of(' ');
    Write("error", kErrorRule, start == std::string_view::npos ? line : line.substr(start), {}, 0,
          {});
}

void DiagnosticLog::Append(const std::string& bytes) {
    out_.Append(bytes);
}

void DiagnosticLog::Write(std::string_view level, std::string_view rule, std::string_view text,
                          std::string_view file, int line, std::string_view entity) {
    if (!out_.ok()) {
        return;
    }
    rules_.emplace(rule);
    bool relative = false;
    const std::string uri = file.empty() ? std::string() : FileUri(file, base_, relative);
    std::string record;
    if (format_ == DiagnosticFormat::kJsonLines) {
        record.append("{\"level\":").append(JsonString(level));
        record.append(",\"ruleId\":").append(JsonString(rule));
        record.append(",\"message\":").append(JsonString(text));
        if (!file.empty()) {
            record.append(",\"uri\":").append(JsonString(uri));
            if (line > 0) {
                record.append(",\"line\":").append(std::to_string(line));
            }
        }
        if (!entity.empty()) {
            record.append(",\"entity\":").append(JsonString(entity));
        }
        record.append("}\n");
        Append(record);
        return;
    }
    record.append(first_ ? "\n" : ",\n");
    first_ = false;
    record.append("{\"ruleId\":").append(JsonString(rule));
    record.append(",\"level\":").append(JsonString(level));
    record.append(",\"message\":{\"text\":").append(JsonString(text)).append("}");
    if (!file.empty() || !entity.empty()) {
        record.append(",\"locations\":[{");
        if (!file.empty()) {
            record.append("\"physicalLocation\":{\"artifactLocation\":{\"uri\":");
            record.append(JsonString(uri));
            if (relative) {
                record.append(",\"uriBaseId\":").append(JsonString(kBaseId));
            }
            record.append("}");
            if (line > 0) {
                record.append(",\"region\":{\"startLine\":").append(std::to_string(line));
                record.append("}");
            }
            record.append("}");
        }
        if (!entity.empty()) {
            record.append(file.empty() ? "" : ",");
            record.append("\"logicalLocations\":[{\"fullyQualifiedName\":");
            record.append(JsonString(entity)).append("}]");
        }
        record.append("}]");
    }
    record.append("}");
    Append(record);
}

Status DiagnosticLog::Finish() {
    if (!out_.ok()) {
        return out_.Commit();
    }
    if (format_ == DiagnosticFormat::kSarif) {
        // The rules are known only at the end, so the tool follows the results.
        std::string end = "\n],\"tool\":{\"driver\":{\"name\":";
        end.append(JsonString(kToolName)).append(",\"version\":").append(JsonString(toolVersion_));
        end.append(",\"rules\":[");
        bool firstRule = true;
        for (const std::string& rule : rules_) {
            end.append(firstRule ? "" : ",").append("{\"id\":").append(JsonString(rule));
            end.append("}");
            firstRule = false;
        }
        end.append("]}},\"originalUriBaseIds\":{").append(JsonString(kBaseId));
        end.append(":{\"uri\":").append(JsonString("file://" + PercentEncoded(base_)));
        end.append("}}}]}\n");
        Append(end);
    }
    return out_.Commit();
}

}  // namespace sylva
