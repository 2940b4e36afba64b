// A DiagnosticSink for tests: keeps every warning as "file:line: text".
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "support/diagnostic_sink.h"

namespace sylva::test {

class RecordingDiagnostics : public DiagnosticSink {
  public:
    void Warning(std::string_view file, int line, std::string_view text) override {
        warnings.push_back(std::string(file) + ":" + std::to_string(line) + ": " +
                           std::string(text));
    }

    std::vector<std::string> warnings;
};

}  // namespace sylva::test
