// What holds what among the items of the doxygen style that have pages: the scope of each item
// (its class, struct, union or namespace, else its group), the members of each scope, the files'
// items, and the bases and derived classes of each class. Built once per run before the pages;
// read only afterwards, so pages built on several threads share it.
#pragma once

#include <string_view>
#include <unordered_map>
#include <vector>

#include "scan/class_bases.h"
#include "scan/items.h"

namespace sylva {

class ScopeIndex {
  public:
    // `paged`: the items whose pages the run writes.
    ScopeIndex(const ItemList& items, const std::vector<const CSylItem*>& paged);

    // The paged item that holds `item`, or null.
    const CSylItem* ScopeOf(const CSylItem& item) const;
    // The group whose page lists `item` beside its namespace's page, or null.
    const CSylItem* GroupOf(const CSylItem& item) const;
    // The paged items `scope` holds, in list order: the members of a class, struct, union or
    // namespace; the items of a group that no class page holds; the items of a file that stand
    // at file scope.
    const std::vector<const CSylItem*>& Members(const CSylItem& scope) const;
    // The paged classes, structs and unions that `type` names as bases, and those naming it.
    const std::vector<const CSylItem*>& Bases(const CSylItem& type) const;
    const std::vector<const CSylItem*>& Derived(const CSylItem& type) const;
    // The paged class, struct, union or namespace of `name` (the one with the plain page of
    // several), or null.
    const CSylItem* Named(std::string_view name) const;

  private:
    using ItemsOf = std::unordered_map<const CSylItem*, std::vector<const CSylItem*>>;
    static const std::vector<const CSylItem*>& Find(const ItemsOf& map, const CSylItem& item);
    void LinkBases(const ItemList& items, const CSylItem& type);

    std::unordered_map<std::string_view, const CSylItem*> byName_;
    std::unordered_map<const CSylItem*, const CSylItem*> scopeOf_;
    std::unordered_map<const CSylItem*, const CSylItem*> groupOf_;
    ItemsOf members_;
    ItemsOf bases_;
    ItemsOf derived_;
};

}  // namespace sylva
