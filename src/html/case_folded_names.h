// CaseFoldedNames: the names of the listed items, found without regard to letter case; built once
// per run so that each quoted text costs one hash lookup, not a pass over the items.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>

#include "scan/items.h"

namespace sylva {

class CaseFoldedNames {
  public:
    // Indexes the names of the non-empty slots of `items`. The index refers to the items' names:
    // REQUIRES: the items outlive it and keep their names.
    explicit CaseFoldedNames(const ItemList& items);

    // The name of the first listed item (in list order) whose name equals `text` when ASCII
    // letter case is ignored; null when there is none.
    const std::string* Find(std::string_view text) const;

  private:
    std::unordered_map<std::string, const std::string*> names_;
};

}  // namespace sylva
