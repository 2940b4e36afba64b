// What a page of the doxygen style shows of what holds what: the scope its item stands in, the
// bases and derived classes of a class, and the members of a scope grouped as a reader of an API
// reference expects (classes, types, functions, data; public, protected and private apart;
// static ones apart), each linked to its page with its brief. Written as block HTML lines.
#pragma once

#include <string_view>

#include "html/html.h"
#include "html/scope_index.h"

namespace sylva {

// Appends the lines of `item`'s page that lead to its scope, bases, derived classes and members.
void AppendScopeLines(const CSylItem& item, const ScopeIndex& scopes, const PageJob& job,
                      CZTStringArray& lines);

// The heading of the member table of `item` ("Data members:" of a class, "Values:" of an enum);
// empty when its table is one of parameters.
std::string_view RowsHeading(const CSylItem& item);

}  // namespace sylva
