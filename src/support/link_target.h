// How a generated file's name stands in a link.
#pragma once

#include <string>
#include <string_view>

namespace sylva {

// `fileName` as a link target: bytes above 127 and '&' become %XX escapes. A browser reads a
// raw non-ASCII byte through the page's encoding and asks for other bytes, and "&name" in an
// attribute can read as a character reference; the escaped form reaches the file's exact bytes.
std::string LinkTarget(std::string_view fileName);

}  // namespace sylva
