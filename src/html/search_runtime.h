// The search runtime that pages with a search box load: a script and its style, kept as source
// files in src/html/search/ and built into the program (embed_text.cmake).
#pragma once

#include <string_view>

namespace sylva {

extern const std::string_view kSearchScript;  // search/search.js
extern const std::string_view kSearchStyle;   // search/search.css

}  // namespace sylva
