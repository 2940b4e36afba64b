#include "html_project.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <ctime>
#include <variant>

namespace sylva::test {

void FixClockAndTimeZone() {
    ::setenv("SOURCE_DATE_EPOCH", kFixedEpoch, 1);
    ::setenv("TZ", "UTC", 1);
    ::tzset();
}

HtmlProject::HtmlProject(std::string projectName) {
    FixClockAndTimeZone();
    std::variant<Project, ProjectRefusal> made =
        MakeProject(std::move(projectName), "A demo project", dir.path(), kIndexName);
    if (Project* madeProject = std::get_if<Project>(&made)) {
        project = std::move(*madeProject);
        EXPECT_TRUE(CreateProjectDirectory(project).ok()) << project.Directory();
    } else {
        ADD_FAILURE() << "the project name is refused";
    }
}

std::string HtmlProject::ProjectFile(std::string_view name) const {
    return project.Directory() + "/" + std::string(name);
}

std::vector<std::string> HtmlProject::ProtocolLines() const {
    return {protocol.Lines().begin(), protocol.Lines().end()};
}

}  // namespace sylva::test
