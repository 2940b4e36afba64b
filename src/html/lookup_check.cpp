// Answering recorded name lookups again.
#include "html/case_folded_names.h"
#include "html/html.h"
#include "html/scope_index.h"

namespace sylva {

LookupCheck::LookupCheck(const ItemList& items, const ScopeIndex& scopes)
    : items_(items), scopes_(scopes), folded_(std::make_unique<CaseFoldedNames>(items)) {}

LookupCheck::~LookupCheck() = default;

bool LookupCheck::Holds(const NameLookups& lookups) const {
    for (const NameLookups::Lookup& lookup : lookups.Distinct()) {
        std::string_view answer;
        std::optional<std::string> labelled;
        std::string pageNumber;
        std::string bases;
        if (lookup.kind == NameLookups::Kind::kListed) {
            answer = items_.Contains(lookup.name) ? "1" : "";
        } else if (lookup.kind == NameLookups::Kind::kLabel) {
            labelled = items_.LabelledName(lookup.name);
            answer = labelled ? std::string_view(*labelled) : std::string_view();
        } else if (lookup.kind == NameLookups::Kind::kRow) {
            labelled = items_.RowHolder(lookup.name);
            answer = labelled ? std::string_view(*labelled) : std::string_view();
        } else if (lookup.kind == NameLookups::Kind::kBases) {
            bases = scopes_.BaseNames(lookup.name);
            answer = bases;
        } else if (lookup.kind == NameLookups::Kind::kGroupLabel) {
            if (const CSylItem* group = items_.LabelledGroup(lookup.name)) {
                pageNumber = std::to_string(group->pageNumber);
                answer = pageNumber;
            }
        } else if (const std::string* name = folded_->Find(lookup.name)) {
            answer = *name;
        }
        if (answer != lookup.answer) {
            return false;
        }
    }
    return true;
}

}  // namespace sylva
