// What the HTML stages share: the run's type filter, the marker images, and writing one output
// file whole with its failure reported.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "html/html.h"
#include "support/status.h"

namespace sylva {

// The marker images are not written by Sylva; a user who puts them into the output directory
// gets a green (public) or red (non-public) ball before every item. Only the green one's presence
// is tested; the red one is assumed to lie beside it.
inline constexpr std::string_view kMarkerImageFile = "bBallsGreen.gif";
inline constexpr std::string_view kGreenImage = "../bBallsGreen.gif";
inline constexpr std::string_view kRedImage = "../bBallsRed.gif";

// True when the marker images are installed in `outputPath`.
bool MarkerImagesInstalled(const std::string& outputPath);

// True when the run creates items of this item's kind (public or non-public).
bool PassesTypeFilter(const PageJob& job, const CSylItem& item);
// The items of the list that pass the type filter, in list order: those that get a page.
std::vector<const CSylItem*> ItemsWithPages(const PageJob& job);

// The file's text followed by one line end, as every template is written.
inline void AppendLine(std::string& page, std::string_view text) {
    page.append(text);
    page.push_back('\n');
}

// The failure line of a page of the project that cannot be created.
inline constexpr std::string_view kPageOpenFailure = "    ERROR: Cannot access to HTML-file %s !";

// The end of a description page (and of a page written like one), which holds the run's date,
// with `timeText` as the date, and its line end.
std::string DescriptionPageEnd(const Settings& settings, std::string_view timeText);

using FileWriter = Status (*)(const std::string& path, std::string_view content);

// Reports `status`, the outcome of writing the output file `path`, as WriteOutputFile does.
void ReportOutputStatus(Reporter& reporter, const std::string& path, const Status& status,
                        std::string_view openFailurePattern);

// Writes `content` to `path` with `writer`. When the file cannot be created, reports
// `openFailurePattern` with the path (a "%s" line); when it is created but cannot be written
// completely (a full disk), reports an ERROR line of the same indentation naming the path and
// the reason. Both count as failures of the run. Returns the writer's status.
Status WriteOutputFile(Reporter& reporter, const std::string& path, std::string_view content,
                       std::string_view openFailurePattern, FileWriter writer);
// The same through the job's output sink, which may find the file written already.
Status WriteOutputFile(const PageJob& job, const std::string& path, const OutputText& text,
                       OutputKind kind, std::string_view openFailurePattern);

}  // namespace sylva
