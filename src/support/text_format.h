// Filling the printf-like line patterns of the protocol and of file names.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace sylva {

// Replaces each "%s" and "%d" of `pattern`, in order, by the next value (numbers are passed as
// their decimal text). Values are inserted as they are, so they may hold '%' or NUL bytes
// safely; a pattern with more conversions than values leaves the rest empty.
std::string FormatLine(std::string_view pattern, std::initializer_list<std::string_view> values);

// `value` as decimal text of at least three digits ("%03d").
std::string ThreeDigits(int value);

}  // namespace sylva
