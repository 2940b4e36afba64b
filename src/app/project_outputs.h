// What a batch run writes from its finished items besides the site: the JSON model (-JSON).
// Each file is written once the pages are, and a file that cannot be written is an error line
// and exit status 1, the site being written all the same.
#pragma once

#include <string>
#include <vector>

#include "app/command_line.h"
#include "engine/engine.h"

namespace sylva {

class ProjectOutputs : public ItemsObserver {
  public:
    explicit ProjectOutputs(const StartValues& switches);

    bool NeedsItems() const override { return !modelPath_.empty(); }
    void ItemsFinished(const FinishedItems& finished) override;

    // The error lines of the files that could not be written; empty when all were (or none was
    // asked for, or the run never got to its items).
    const std::vector<std::string>& failures() const { return failures_; }

  private:
    std::string modelPath_;
    std::vector<std::string> failures_;
};

}  // namespace sylva
