// Fuzzing the JSON string writer of the diagnostics files and the baseline: any bytes, written as
// a JSON string, must parse, and text without invalid UTF-8 must come back unchanged.
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "fuzz_targets.h"
#include "support/json_text.h"

namespace sylva::fuzz {

int FuzzJsonText(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::string written = JsonString(bytes);
    const nlohmann::json parsed = nlohmann::json::parse(written, nullptr, false);
    Require(!parsed.is_discarded() && parsed.is_string(), "a written JSON string does not parse");
    // Without a byte replaced, the text comes back byte for byte; with one, the decoded text is
    // valid UTF-8 and writes as itself.
    const std::string& decoded = parsed.get_ref<const std::string&>();
    Require(written.find("\\ufffd") != std::string::npos || decoded == bytes,
            "a text without invalid UTF-8 did not come back unchanged");
    const nlohmann::json again = nlohmann::json::parse(JsonString(decoded), nullptr, false);
    Require(!again.is_discarded() && again == parsed, "a decoded text does not write as itself");
    return 0;
}

}  // namespace sylva::fuzz
