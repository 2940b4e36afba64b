// Answering recorded name lookups again.
#include "html/case_folded_names.h"
#include "html/html.h"
#include "html/scope_index.h"

namespace sylva {

LookupCheck::LookupCheck(const ItemList& items, const ScopeIndex& scopes)
    : items_(items), scopes_(scopes), folded_(std::make_unique<CaseFoldedNames>(items)) {}

LookupCheck::~LookupCheck() = default;

bool LookupCheck::Holds(std::string_view encoded) const {
    ByteReader in(encoded);
    const bool held = NameLookups::Visit(
        in, [this](NameLookups::Kind kind, std::string_view name, std::string_view answer) {
            return Answers(kind, name, answer);
        });
    return held && in.Done();
}

bool LookupCheck::Answers(NameLookups::Kind kind, std::string_view name,
                          std::string_view given) const {
    std::string_view answer;
    std::optional<std::string> labelled;
    std::string pageNumber;
    std::string bases;
    if (kind == NameLookups::Kind::kListed) {
        answer = items_.Contains(name) ? "1" : "";
    } else if (kind == NameLookups::Kind::kLabel) {
        labelled = items_.LabelledName(name);
        answer = labelled ? std::string_view(*labelled) : std::string_view();
    } else if (kind == NameLookups::Kind::kRow) {
        labelled = items_.RowHolder(name);
        answer = labelled ? std::string_view(*labelled) : std::string_view();
    } else if (kind == NameLookups::Kind::kBases) {
        bases = scopes_.BaseNames(name);
        answer = bases;
    } else if (kind == NameLookups::Kind::kGroupLabel) {
        if (const CSylItem* group = items_.LabelledGroup(name)) {
            pageNumber = std::to_string(group->pageNumber);
            answer = pageNumber;
        }
    } else if (const std::string* folded = folded_->Find(name)) {
        answer = *folded;
    }
    return answer == given;
}

}  // namespace sylva
