#include "html_project.h"

#include <stdlib.h>

#include <ctime>
#include <filesystem>
#include <memory>

#include "support/zt_string.h"

namespace sylva::test {

void FixClockAndTimeZone() {
    ::setenv("SOURCE_DATE_EPOCH", kFixedEpoch, 1);
    ::setenv("TZ", "UTC", 1);
    ::tzset();
}

HtmlProject::HtmlProject(std::string projectName) {
    FixClockAndTimeZone();
    CZTString directoryName(projectName);
    directoryName.ReplaceInvalidFilenameChars('_');
    generator.outputPath = dir.path();
    generator.projectName = std::move(projectName);
    generator.projectDirName = directoryName;
    generator.projectDesc = "A demo project";
    generator.masterIndexName = "SYLVA_MAIN_INDEX.HTML";
    const std::string base = dir.path() + "/" + directoryName + "/" + directoryName;
    generator.projectIndexFile = base + ".HTML";
    generator.frameIndexFile = base + "_frameidx.HTML";
    generator.frameFile = base + "_frame.HTML";
    std::filesystem::create_directories(dir.path() + "/" + directoryName);
    generator.typePublic = 1;
    generator.typePrivate = 1;
    generator.protocol = &protocol;
    generator.progress = &progress;
}

CSylItem& HtmlProject::Add(const std::string& name, const std::string& group) {
    auto item = std::make_unique<CSylItem>(&generator);
    item->name = name;
    item->group = group;
    // Not `= " "`: GCC 12 at -O3 warns falsely of a short literal assigned (-Wrestrict).
    item->Details().shortDesc.assign(1, ' ');
    item->Details().typeLabel = group + "<BR>(Public)";
    item->accessRank = 100;
    item->isPublic = 1;
    CSylItem& added = *item;
    generator.AddItem(std::move(item));
    return added;
}

std::string HtmlProject::ProjectFile(std::string_view name) const {
    return dir.path() + "/" + generator.projectDirName + "/" + std::string(name);
}

std::vector<std::string> HtmlProject::ProtocolLines() const {
    return {protocol.Lines().begin(), protocol.Lines().end()};
}

}  // namespace sylva::test
