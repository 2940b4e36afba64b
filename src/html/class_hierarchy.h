// The class hierarchy of the doxygen style: the documented classes, structs and unions as a tree
// by their bases, each linked to its page, on a page of the project's own that the project index
// leads to.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "html/html.h"
#include "html/scope_index.h"

namespace sylva {

// The heading of the hierarchy page and the name of the index row that leads to it.
inline constexpr std::string_view kClassHierarchyTitle = "Class hierarchy";
// How deep the tree nests before a class's derived classes continue at the top level: a browser
// lays out a list nested thousands deep neither fast nor readably.
inline constexpr std::size_t kHierarchyDepthLimit = 64;

// The tree as nested HTML lists and the class whose derived classes were continued at the top
// level first, because the tree was deeper there than kHierarchyDepthLimit (null: none).
//
// Every class of `classes` stands in the tree; one with several bases stands under each, its
// derived classes listed below its first place only, so that the tree grows with the number of
// base relations, never with the number of paths through them. Classes in an inheritance cycle
// that no class without bases leads to stand at the top level, from the first in list order.
// The walk keeps its path on the heap: no chain is too deep for it.
struct HierarchyTree {
    std::string html;
    const CSylItem* cutAt = nullptr;
};
HierarchyTree BuildHierarchy(const std::vector<const CSylItem*>& classes, const ScopeIndex& scopes);

// The classes of the doxygen style among `paged`, in list order: what the hierarchy shows.
std::vector<const CSylItem*> HierarchyClasses(const std::vector<const CSylItem*>& paged);

// The hierarchy page of the project's items, written through the job's output; warns at the
// class where the tree was cut. Returns whether it was written.
bool WriteClassHierarchy(const PageJob& job, const std::vector<const CSylItem*>& classes);

}  // namespace sylva
