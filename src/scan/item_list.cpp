// The item list: making items, their page numbers, sort-key order and the lookup of item names.
#include <algorithm>

#include "scan/doxygen/reader.h"
#include "scan/item_fields.h"
#include "scan/sorted_lines.h"

namespace sylva {

ItemList::ItemList() = default;
ItemList::~ItemList() = default;

CSylItem& ItemList::Add(const Settings& settings, const ScannedBlock& block) {
    Slot item(new CSylItem());
    std::string_view declared = DeclaredText(block.declaration);
    item->sourceText_.reserve(declared.size() + block.blockText.size());
    item->sourceText_.append(declared);
    item->sourceText_.append(block.blockText);
    item->declarationSize_ = declared.size();
    item->sourceTime = block.sourceTime;
    item->sourceFile = block.sourceFile;
    item->sourceLine = block.sourceLine;
    DeriveIndexFields(*item, settings);
    return File(std::move(item));
}

CSylItem& ItemList::Add(const Settings& settings, const DoxygenItem& documented,
                        const ScannedBlock& block) {
    Slot item(new CSylItem());
    item->style = CommentStyle::kDoxygen;
    item->sourceText_ = documented.declaration;
    item->declarationSize_ = documented.declaration.size();
    for (const DoxygenLine& line : documented.lines) {
        AppendSortedLine(item->sourceText_, line.section, line.text);
    }
    for (const DoxygenParameter& parameter : documented.parameters) {
        AppendRow(item->sourceText_, {parameter.name, parameter.text, parameter.direction});
    }
    item->sourceTime = block.sourceTime;
    item->sourceFile = block.sourceFile;
    item->sourceLine = block.sourceLine;
    DeriveDocumentedFields(*item, settings, documented);
    if (documented.kind == DoxygenKind::kGroup && !documented.title.empty()) {
        titleOffers_.emplace_back(documented.name, documented.title);
    }
    return File(std::move(item));
}

CSylItem& ItemList::File(Slot item) {
    item->pageNumber = Contains(item->name) ? duplicateCounter_++ : -1;
    ++liveNames_[item->name];
    return *slots_.emplace_back(std::move(item));
}

void ItemList::UseGroupTitles() {
    if (titleOffers_.empty()) {
        return;
    }
    std::unordered_map<std::string_view, std::string_view> titles;
    for (const auto& [label, title] : titleOffers_) {
        titles.try_emplace(label, title);
    }
    for (Slot& item : slots_) {
        if (item && item->style == CommentStyle::kDoxygen) {
            auto title = titles.find(item->group);
            if (title != titles.end()) {
                item->group = title->second;
            }
        }
    }
}

void ItemList::Sort() {
    std::stable_sort(slots_.begin(), slots_.end(), [](const Slot& a, const Slot& b) {
        if (!a || !b) {
            return a && !b;
        }
        return SortsBefore(*a, *b);
    });
}

void ItemList::Remove(std::size_t slot) {
    Slot& item = slots_[slot];
    if (!item) {
        return;
    }
    auto it = liveNames_.find(item->name);
    if (it != liveNames_.end()) {
        if (--it->second == 0) {
            liveNames_.erase(it);
        } else if (it->first.data() == item->name.data()) {
            // The key views the name of the item about to be deleted: it takes a copy instead.
            retiredNames_.push_back(item->name);
            auto node = liveNames_.extract(it);
            node.key() = retiredNames_.back();
            liveNames_.insert(std::move(node));
        }
    }
    item.reset();
}

bool ItemList::Contains(std::string_view name) const {
    const bool listed = liveNames_.find(name) != liveNames_.end();
    NameLookups::Note(NameLookups::Kind::kListed, name, listed ? "1" : "");
    return listed;
}

std::string_view ItemList::KeepSourceName(std::string path) {
    return sourceNames_.emplace_back(std::move(path));
}

std::optional<std::string> ResolveName(const ItemList& items, std::string_view name,
                                       const CSylItem& from) {
    if (items.Contains(name)) {
        return std::string(name);
    }
    if (from.style != CommentStyle::kDoxygen) {
        return std::nullopt;
    }
    for (std::string_view scope = from.name;;) {
        std::size_t colons = scope.rfind("::");
        if (colons == std::string_view::npos) {
            return std::nullopt;
        }
        scope = scope.substr(0, colons);
        std::string candidate(scope);
        candidate.append("::");
        candidate.append(name);
        if (items.Contains(candidate)) {
            return candidate;
        }
    }
}

}  // namespace sylva
