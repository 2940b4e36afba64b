// Folding item names to one letter case for the look-up of names that differ only in case.
#include "html/case_folded_names.h"

#include "scan/items.h"
#include "support/zt_string.h"

namespace sylva {

namespace {

std::string Folded(std::string_view text) {
    CZTString folded(text);
    folded.MakeUpper();
    return folded;
}

}  // namespace

CaseFoldedNames::CaseFoldedNames(const ItemList& items) {
    names_.reserve(items.size());
    for (const ItemList::Slot& item : items) {
        if (item) {
            // The first item of a folded name keeps its place.
            names_.try_emplace(Folded(item->name), &item->name);
        }
    }
}

const std::string* CaseFoldedNames::Find(std::string_view text) const {
    auto found = names_.find(Folded(text));
    const std::string* name = found == names_.end() ? nullptr : found->second;
    NameLookups::Note(NameLookups::Kind::kFolded, text, name != nullptr ? *name : "");
    return name;
}

}  // namespace sylva
