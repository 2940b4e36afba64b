#include "app/project_outputs.h"

#include "engine/coverage.h"
#include "support/text_format.h"

namespace sylva {

namespace {

constexpr std::string_view kModelNotWritten = "sylva: ERROR: model file %s not written: %s";
constexpr std::string_view kCoverageNotWritten = "sylva: ERROR: coverage file %s not written: %s";
constexpr std::string_view kCoverageBelowMinimum =
    "sylva: documentation coverage %s is below -COVERAGE-MIN=%s (%s of %s declarations "
    "documented)";
constexpr std::string_view kCoverageNeedsDeclarations =
    "sylva: coverage counts need -STYLE=doxygen: the sylva style has no declarations to count";

}  // namespace

ProjectOutputs::ProjectOutputs(const StartValues& switches)
    : modelPath_(switches.modelFile),
      coverage_(switches.coverage),
      coveragePath_(switches.coverageFile),
      coverageMinimumText_(switches.coverageMinimum),
      coverageMinimum_(ParseShare(switches.coverageMinimum)) {}

PageTextReader* ProjectOutputs::PagesStarting(const FinishedItems& finished) {
    if (modelPath_.empty()) {
        return nullptr;
    }
    model_ = std::make_unique<ModelJsonWriter>(modelPath_, finished);
    return model_.get();
}

void ProjectOutputs::ItemsFinished(const FinishedItems& finished) {
    if (!modelPath_.empty()) {
        if (Status written = model_->Finish(); !written.ok()) {
            failures_.push_back(FormatLine(kModelNotWritten, {modelPath_, written.reason()}));
        }
        model_.reset();
    }
    if (!coverage_ && !coverageMinimum_) {
        return;
    }
    if (finished.style != CommentStyle::kDoxygen) {
        notices_.emplace_back(kCoverageNeedsDeclarations);
        return;
    }
    const Coverage coverage = CountCoverage(finished.items);
    if (coverage_ && coveragePath_.empty()) {
        report_ = CoverageTable(coverage);
    }
    if (!coveragePath_.empty()) {
        if (Status written = WriteCoverageJson(coveragePath_, coverage, finished); !written.ok()) {
            failures_.push_back(FormatLine(kCoverageNotWritten, {coveragePath_, written.reason()}));
        }
    }
    if (coverageMinimum_ && coverage.total.Share() < *coverageMinimum_) {
        failures_.push_back(FormatLine(
            kCoverageBelowMinimum,
            {ShareText(coverage.total.Share()) + "%", coverageMinimumText_,
             std::to_string(coverage.total.documented), std::to_string(coverage.total.total)}));
    }
}

}  // namespace sylva
