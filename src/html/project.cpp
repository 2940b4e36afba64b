// A project's names: the one place that derives its directory name and its page paths, and that
// refuses the names which would write outside the output directory.
#include <filesystem>
#include <system_error>

#include "html/page_names.h"
#include "support/zt_string.h"

namespace sylva {

std::string ProjectDirectoryName(std::string_view projectName) {
    return SafeFileName(projectName);
}

bool IsUsableDirectoryName(std::string_view directoryName) {
    return !directoryName.empty() && directoryName != "." && directoryName != ".." &&
           FrameIndexFile(directoryName).size() <= kMaxFileNameBytes;
}

bool HoldsPath(std::string_view masterIndexName) {
    return masterIndexName.find('/') != std::string_view::npos;
}

std::variant<Project, ProjectRefusal> MakeProject(std::string name, std::string description,
                                                  std::string_view outputPath,
                                                  std::string masterIndexName) {
    if (HoldsPath(masterIndexName)) {
        return ProjectRefusal::kMasterIndexNameWithPath;
    }
    std::string directoryName = ProjectDirectoryName(name);
    if (!IsUsableDirectoryName(directoryName)) {
        return ProjectRefusal::kUnusableDirectoryName;
    }
    Project project;
    project.name = std::move(name);
    project.description = std::move(description);
    project.outputPath = TrimRightView(outputPath, "/");
    project.directoryName = std::move(directoryName);
    project.masterIndexName = std::move(masterIndexName);
    const std::string directory = project.Directory() + "/";
    project.indexPage = directory + ProjectIndexFile(project.directoryName);
    project.frameIndexPage = directory + FrameIndexFile(project.directoryName);
    project.framePage = directory + FrameSetFile(project.directoryName);
    return project;
}

Status CreateProjectDirectory(const Project& project) {
    const std::string directory = project.Directory();
    std::error_code made;
    std::filesystem::create_directories(directory, made);
    std::error_code looked;
    if (std::filesystem::is_directory(directory, looked)) {
        return Status::Ok();
    }
    return Status::OpenFailed(
        (made ? made : std::make_error_code(std::errc::not_a_directory)).message());
}

}  // namespace sylva
