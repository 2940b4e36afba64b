// Writing JSON text that stays valid whatever bytes it is given: names and messages of the
// documented sources may hold quotes, control bytes, invalid UTF-8 and any length.
#pragma once

#include <string>
#include <string_view>

namespace sylva {

// Appends `text` to `out` as one JSON string, the quotes included. Valid UTF-8 is kept as it is;
// '"', '\\' and the control bytes below 0x20 are escaped; each byte that is not part of a valid
// UTF-8 sequence (a stray continuation byte, a truncated or overlong sequence, a surrogate, a
// code point above U+10FFFF) becomes U+FFFD, so the result always parses.
void AppendJsonString(std::string& out, std::string_view text);

// `text` as one JSON string (see AppendJsonString).
std::string JsonString(std::string_view text);

}  // namespace sylva
