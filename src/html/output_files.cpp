#include "html/output_files.h"

#include <memory>

#include "engine/scan_source.h"
#include "scan/syl_item.h"
#include "support/text_format.h"
#include "support/zt_system.h"

namespace sylva {

namespace {
constexpr std::string_view kWriteFailure = "ERROR: Cannot write file %s completely (%s) !";
}

bool MarkerImagesInstalled(const std::string& outputPath) {
    return CZTSystem::FileExist(outputPath + "/" + std::string(kMarkerImageFile));
}

bool PassesTypeFilter(const CZTScanSource& generator, const CSylItem& item) {
    return item.isPublic ? generator.typePublic != 0 : generator.typePrivate != 0;
}

std::vector<CSylItem*> ItemsWithPages(const CZTScanSource& generator) {
    std::vector<CSylItem*> paged;
    for (const std::unique_ptr<CSylItem>& slot : generator.items) {
        if (slot && PassesTypeFilter(generator, *slot)) {
            paged.push_back(slot.get());
        }
    }
    return paged;
}

Status WriteOutputFile(CZTScanSource& generator, const std::string& path, std::string_view content,
                       std::string_view openFailurePattern, FileWriter writer) {
    Status status = writer(path, content);
    ReportOutputStatus(generator, path, status, openFailurePattern);
    return status;
}

void ReportOutputStatus(CZTScanSource& generator, const std::string& path, const Status& status,
                        std::string_view openFailurePattern) {
    if (status.code() == Status::Code::kOpenFailed) {
        generator.ProtocolFailure(FormatLine(openFailurePattern, {path}));
    } else if (!status.ok()) {
        std::string_view indentation =
            openFailurePattern.substr(0, openFailurePattern.find_first_not_of(' '));
        generator.ProtocolFailure(std::string(indentation) +
                                  FormatLine(kWriteFailure, {path, status.reason()}));
    }
}

}  // namespace sylva
