// Documentation coverage: how many of the public declarations the reader of the doxygen style saw
// are documented, in all and per file, per namespace and per group, with the undocumented ones.
// What counts as public is the reader's (scan/doxygen/reader.h, DoxygenOptions::declarations).
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "engine/engine.h"
#include "support/status.h"

namespace sylva {

inline constexpr std::string_view kCoverageSchemaName = "sylva-coverage";
inline constexpr std::string_view kCoverageSchemaVersion = "1.0";

struct CoverageCount {
    int documented = 0;
    int total = 0;
    // The documented share in percent; 100 when there is nothing to document.
    double Share() const { return total == 0 ? 100.0 : 100.0 * documented / total; }
};

struct Coverage {
    CoverageCount total;
    // By name, in byte order of the names; the global namespace and "no group" have the name "".
    std::vector<std::pair<std::string, CoverageCount>> files;
    std::vector<std::pair<std::string, CoverageCount>> namespaces;
    std::vector<std::pair<std::string, CoverageCount>> groups;
    // In the order of the files and of their lines.
    std::vector<const ItemList::CountedDeclaration*> undocumented;
};

// `share` with one decimal ("87.5"), whatever the locale.
std::string ShareText(double share);

// The counts of the declarations `items` holds. REQUIRES: `items` outlives the result.
Coverage CountCoverage(const ItemList& items);

// The table printed after a run: a heading, one line per file, namespace and group (documented,
// total, share, name), then the totals.
std::string CoverageTable(const Coverage& coverage);

// Writes the same as JSON, with the undocumented declarations, to `path`, which appears only when
// it is complete. Fails as StagedFile does; the file at `path` is then as it was.
Status WriteCoverageJson(const std::string& path, const Coverage& coverage,
                         const FinishedItems& finished);

}  // namespace sylva
