#include "engine/coverage.h"

#include <algorithm>
#include <charconv>
#include <map>
#include <tuple>

#include "engine/model_json.h"
#include "support/json_text.h"
#include "support/staged_file.h"

namespace sylva {

namespace {

constexpr std::string_view kTableHeading = "documented  total   share  ";
constexpr std::string_view kGlobalNamespace = "(global namespace)";
constexpr std::string_view kNoGroup = "(no group)";
constexpr std::string_view kTotalName = "total";
constexpr std::string_view kHeadings[] = {"file", "namespace", "group"};
constexpr int kCountWidth = 10;
constexpr int kTotalWidth = 7;
constexpr int kShareWidth = 7;

using Counts = std::vector<std::pair<std::string, CoverageCount>>;

Counts Sorted(const std::map<std::string, CoverageCount>& counted) {
    return Counts(counted.begin(), counted.end());
}

std::string Padded(std::string text, int width) {
    if (text.size() < static_cast<std::size_t>(width)) {
        text.insert(0, static_cast<std::size_t>(width) - text.size(), ' ');
    }
    return text;
}

void AppendRow(std::string& out, const CoverageCount& count, std::string_view name) {
    out.append(Padded(std::to_string(count.documented), kCountWidth));
    out.append(Padded(std::to_string(count.total), kTotalWidth));
    out.append(Padded(ShareText(count.Share()) + "%", kShareWidth + 1));
    out.append("  ").append(name).append("\n");
}

void AppendCountObject(std::string& out, const CoverageCount& count) {
    out.append("{\"documented\":").append(std::to_string(count.documented));
    out.append(",\"total\":").append(std::to_string(count.total));
    out.append(",\"share\":").append(ShareText(count.Share())).append("}");
}

void AppendCountList(std::string& out, std::string_view key, const Counts& counts) {
    out.append(",\n\"").append(key).append("\":[");
    bool first = true;
    for (const auto& [name, count] : counts) {
        out.append(first ? "\n" : ",\n").append("{\"name\":").append(JsonString(name));
        out.append(",\"count\":");
        AppendCountObject(out, count);
        out.append("}");
        first = false;
    }
    out.append("]");
}

}  // namespace

std::string ShareText(double share) {
    char digits[32];
    const auto end =
        std::to_chars(digits, digits + sizeof digits, share, std::chars_format::fixed, 1);
    return std::string(digits, end.ptr);
}

Coverage CountCoverage(const ItemList& items) {
    Coverage coverage;
    std::map<std::string, CoverageCount> byKind[3];
    for (const ItemList::CountedDeclaration& counted : items.Declarations()) {
        const SeenDeclaration& seen = counted.seen;
        const int documented = seen.documented ? 1 : 0;
        for (CoverageCount* count : {&coverage.total, &byKind[0][std::string(counted.sourceFile)],
                                     &byKind[1][seen.space], &byKind[2][seen.group]}) {
            count->documented += documented;
            ++count->total;
        }
        if (!seen.documented) {
            coverage.undocumented.push_back(&counted);
        }
    }
    coverage.files = Sorted(byKind[0]);
    coverage.namespaces = Sorted(byKind[1]);
    coverage.groups = Sorted(byKind[2]);
    std::stable_sort(
        coverage.undocumented.begin(), coverage.undocumented.end(),
        [](const ItemList::CountedDeclaration* a, const ItemList::CountedDeclaration* b) {
            return std::tie(a->sourceFile, a->seen.line) < std::tie(b->sourceFile, b->seen.line);
        });
    return coverage;
}

std::string CoverageTable(const Coverage& coverage) {
    std::string table;
    const Counts* lists[] = {&coverage.files, &coverage.namespaces, &coverage.groups};
    for (std::size_t i = 0; i < std::size(lists); ++i) {
        table.append(kTableHeading);
        table.append(kHeadings[i]).append("\n");
        for (const auto& [name, count] : *lists[i]) {
            const bool unnamed = name.empty() && i > 0;
            AppendRow(table, count, unnamed ? (i == 1 ? kGlobalNamespace : kNoGroup) : name);
        }
    }
    AppendRow(table, coverage.total, kTotalName);
    return table;
}

Status WriteCoverageJson(const std::string& path, const Coverage& coverage,
                         const FinishedItems& finished) {
    StagedFile out(path);
    std::string head = "{\"schema\":" + JsonString(kCoverageSchemaName);
    head.append(",\"schemaVersion\":").append(JsonString(kCoverageSchemaVersion));
    head.append(",\"program\":{\"name\":\"sylva\",\"version\":").append(JsonString(SYLVA_VERSION));
    head.append("},\"project\":{\"name\":").append(JsonString(finished.project.name));
    head.append("},\n\"total\":");
    AppendCountObject(head, coverage.total);
    AppendCountList(head, "files", coverage.files);
    AppendCountList(head, "namespaces", coverage.namespaces);
    AppendCountList(head, "groups", coverage.groups);
    head.append(",\n\"undocumented\":[");
    out.Append(head);
    bool first = true;
    for (const ItemList::CountedDeclaration* counted : coverage.undocumented) {
        std::string entry = first ? "\n" : ",\n";
        entry.append("{\"location\":")
            .append(JsonString(std::string(counted->sourceFile) + ":" +
                               std::to_string(counted->seen.line)));
        entry.append(",\"name\":").append(JsonString(counted->seen.name));
        entry.append(",\"kind\":").append(JsonString(DoxygenKindName(counted->seen.kind)));
        entry.append(",\"namespace\":").append(JsonString(counted->seen.space));
        entry.append(",\"group\":").append(JsonString(counted->seen.group)).append("}");
        out.Append(entry);
        first = false;
    }
    out.Append("\n]}\n");
    return out.Commit();
}

}  // namespace sylva
