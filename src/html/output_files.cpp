#include "html/output_files.h"

#include "html/placeholders.h"
#include "support/text_format.h"
#include "support/zt_system.h"

namespace sylva {

namespace {
constexpr std::string_view kWriteFailure = "ERROR: Cannot write file %s completely (%s) !";
constexpr std::string_view kProductNotice = "Sylva " SYLVA_VERSION;
}  // namespace

std::string DescriptionPageEnd(const Settings& settings, std::string_view timeText) {
    std::string end = FillTemplate(settings[SYL_HTML_DESC_FILE_END],
                                   {{placeholder::kFont, settings[SYL_STD_FONT_HEADER]},
                                    {placeholder::kDateTime, timeText},
                                    {placeholder::kZTCopyright, kProductNotice}});
    end.push_back('\n');
    return end;
}

bool MarkerImagesInstalled(const std::string& outputPath) {
    return CZTSystem::FileExist(outputPath + "/" + std::string(kMarkerImageFile));
}

bool PassesTypeFilter(const PageJob& job, const CSylItem& item) {
    return item.isPublic ? job.typePublic != 0 : job.typePrivate != 0;
}

std::vector<const CSylItem*> ItemsWithPages(const PageJob& job) {
    std::vector<const CSylItem*> paged;
    for (const ItemList::Slot& slot : job.items) {
        if (slot && PassesTypeFilter(job, *slot)) {
            paged.push_back(slot.get());
        }
    }
    return paged;
}

Status WriteOutputFile(Reporter& reporter, const std::string& path, std::string_view content,
                       std::string_view openFailurePattern, FileWriter writer) {
    Status status = writer(path, content);
    ReportOutputStatus(reporter, path, status, openFailurePattern);
    return status;
}

Status WriteOutputFile(const PageJob& job, const std::string& path, const OutputText& text,
                       OutputKind kind, std::string_view openFailurePattern) {
    Status status = job.Output().Write(path, text, kind);
    ReportOutputStatus(job.reporter, path, status, openFailurePattern);
    return status;
}

void ReportOutputStatus(Reporter& reporter, const std::string& path, const Status& status,
                        std::string_view openFailurePattern) {
    if (status.code() == Status::Code::kOpenFailed) {
        // The fixed line, then why: without the system's reason a user cannot tell a full disk
        // from a missing permission.
        std::string line = FormatLine(openFailurePattern, {path});
        if (!status.reason().empty()) {
            line.append(" (").append(status.reason()).append(")");
        }
        reporter.Failure(line);
    } else if (!status.ok()) {
        std::string_view indentation =
            openFailurePattern.substr(0, openFailurePattern.find_first_not_of(' '));
        reporter.Failure(std::string(indentation) +
                         FormatLine(kWriteFailure, {path, status.reason()}));
    }
}

}  // namespace sylva
