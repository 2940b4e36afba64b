// What a batch run writes from its finished items besides the site: the JSON model (-JSON) and
// the documentation coverage (-COVERAGE, -COVERAGE=FILE, -COVERAGE-MIN). The model is written
// while the pages are, from the texts they derive; the coverage once they are written. A file
// that cannot be written is an error line and exit status 1, the site being written all the same;
// so is a coverage below the minimum.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "engine/engine.h"
#include "engine/model_json.h"

namespace sylva {

class ProjectOutputs : public ItemsObserver {
  public:
    explicit ProjectOutputs(const StartValues& switches);

    // The model and the coverage are made from the items, which a run that proves nothing
    // changed never reads.
    bool NeedsItems() const override {
        return !modelPath_.empty() || coverage_ || !coverageMinimumText_.empty();
    }
    PageTextReader* PagesStarting(const FinishedItems& finished) override;
    void ItemsFinished(const FinishedItems& finished) override;

    // The error lines of the files that could not be written and of a coverage below the
    // minimum; empty when there are none (or nothing was asked for, or the run never got to its
    // items).
    const std::vector<std::string>& failures() const { return failures_; }
    // Lines for standard error that change no exit status (coverage asked of the sylva style).
    const std::vector<std::string>& notices() const { return notices_; }
    // What goes to standard output after the run: the coverage table; empty: nothing.
    const std::string& report() const { return report_; }

  private:
    std::string modelPath_;
    // From PagesStarting to ItemsFinished.
    std::unique_ptr<ModelJsonWriter> model_;
    bool coverage_;
    std::string coveragePath_;
    std::string coverageMinimumText_;
    std::optional<double> coverageMinimum_;
    std::vector<std::string> failures_;
    std::vector<std::string> notices_;
    std::string report_;
};

}  // namespace sylva
