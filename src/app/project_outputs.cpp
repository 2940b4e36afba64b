#include "app/project_outputs.h"

#include "engine/model_json.h"
#include "support/text_format.h"

namespace sylva {

namespace {

constexpr std::string_view kModelNotWritten = "sylva: ERROR: model file %s not written: %s";

}  // namespace

ProjectOutputs::ProjectOutputs(const StartValues& switches) : modelPath_(switches.modelFile) {}

void ProjectOutputs::ItemsFinished(const FinishedItems& finished) {
    if (!modelPath_.empty()) {
        if (Status written = WriteModelJson(modelPath_, finished); !written.ok()) {
            failures_.push_back(FormatLine(kModelNotWritten, {modelPath_, written.reason()}));
        }
    }
}

}  // namespace sylva
