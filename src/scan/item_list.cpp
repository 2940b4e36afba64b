// The item list: making items, their page numbers, sort-key order and the lookup of item names.
#include <algorithm>
#include <cstdint>
#include <map>
#include <optional>
#include <string_view>
#include <unordered_map>

#include "scan/doxygen/reader.h"
#include "scan/item_fields.h"
#include "scan/sorted_lines.h"
#include "scan/tag_file.h"
#include "support/text_format.h"
#include "support/warning_kind.h"

namespace sylva {

namespace {

// The first eight bytes of `name` as a number that orders as they do (byte by byte, unsigned),
// a shorter name padded with zeros: names whose numbers differ order as their numbers.
std::uint64_t LeadingBytes(std::string_view name) {
    std::uint64_t lead = 0;
    for (std::size_t i = 0; i < sizeof lead; ++i) {
        lead = (lead << 8) | (i < name.size() ? static_cast<unsigned char>(name[i]) : 0U);
    }
    return lead;
}

constexpr WarningKind kGroupDefinedAgain = {
    "doxygen.group-defined-again",
    "group \"%s\" is defined again (first at %s:%s); \"@addtogroup\" adds to a group"};
constexpr WarningKind kGroupRetitled = {
    "doxygen.group-retitled",
    "group \"%s\" is defined again with another title (first at %s:%s as \"%s\"); it is one "
    "group, under that title"};

// Whether a declaration opens a scoped enum ("enum class", "enum struct"), whose enumerators
// are named in the enum's scope only.
bool IsScopedEnum(std::string_view declaration) {
    constexpr std::string_view kEnum = "enum";
    if (!declaration.starts_with(kEnum)) {
        return false;
    }
    declaration.remove_prefix(kEnum.size());
    const std::size_t word = declaration.find_first_not_of(" \t\n");
    if (word == 0 || word == std::string_view::npos) {
        return false;
    }
    declaration.remove_prefix(word);
    const std::string_view key = declaration.substr(0, declaration.find_first_of(" \t\n{:["));
    return key == "class" || key == "struct";
}

}  // namespace

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
        AppendRow(
            item->sourceText_,
            {parameter.name, parameter.text, parameter.direction, parameter.type, parameter.tail},
            parameter.templateParameter ? kTemplateRowMark : kRowMark);
    }
    if (!documented.signature.empty()) {
        std::string signature(1, documented.definition ? '1' : '0');
        signature += documented.signature;
        AppendFact(item->sourceText_, kSignatureMark, signature);
    }
    for (const std::string& anchor : documented.anchors) {
        AppendFact(item->sourceText_, kAnchorMark, anchor);
    }
    for (const std::string& base : documented.bases) {
        // Kept as a fact, and shown as a See also name until pages list bases of their own.
        AppendFact(item->sourceText_, kBaseMark, base);
        AppendSortedLine(item->sourceText_, kSectionSeeAlso, base);
    }
    if (!documented.relatesTo.empty()) {
        AppendFact(item->sourceText_, kRelatesMark, documented.relatesTo);
    }
    if (!documented.space.empty()) {
        AppendFact(item->sourceText_, kSpaceMark, documented.space);
    }
    // A page's label and the labels of the places in it lead references to the page.
    if (documented.kind == DoxygenKind::kPage || documented.kind == DoxygenKind::kMainPage) {
        if (!documented.name.empty()) {
            AppendFact(item->sourceText_, kLabelMark, documented.name);
        }
        for (const std::string& anchor : documented.anchors) {
            AppendFact(item->sourceText_, kLabelMark, anchor);
        }
    }
    item->kind = documented.kind;
    item->sourceTime = block.sourceTime;
    item->sourceFile = block.sourceFile;
    item->sourceLine = block.sourceLine;
    item->declarationLine = documented.declarationLine;
    DeriveDocumentedFields(*item, settings, documented);
    if (documented.kind == DoxygenKind::kGroup) {
        AppendFact(item->sourceText_, kLabelMark, documented.name);
        groups_.push_back({documented.name, documented.title, block.sourceFile, block.sourceLine,
                           !documented.addsToGroup});
    }
    return File(std::move(item));
}

CSylItem& ItemList::File(Slot item) {
    // A group's page is named by its label, not by its title: a second group of a label needs
    // a number, and the title is no name that links lead to by name.
    if (std::optional<std::string_view> label = GroupLabel(*item)) {
        std::vector<const CSylItem*>& labelled = labelledGroups_[std::string(*label)];
        item->pageNumber = labelled.empty() ? -1 : duplicateCounter_++;
        labelled.push_back(item.get());
        return *slots_.emplace_back(std::move(item));
    }
    item->pageNumber = Contains(item->name) ? duplicateCounter_++ : -1;
    ++liveNames_[item->name];
    NoteRows(*item, true);
    if (item->kind == DoxygenKind::kPage || item->kind == DoxygenKind::kMainPage) {
        for (std::string_view label : FactsOf(item->BlockText(), kLabelMark)) {
            labels_.try_emplace(std::string(label), item->name);
        }
    }
    return *slots_.emplace_back(std::move(item));
}

std::optional<std::string_view> GroupLabel(const CSylItem& item) {
    if (item.style != CommentStyle::kDoxygen || item.kind != DoxygenKind::kGroup) {
        return std::nullopt;
    }
    std::vector<std::string_view> labels = FactsOf(item.BlockText(), kLabelMark);
    if (labels.empty() || labels.front().empty()) {
        return std::nullopt;
    }
    return labels.front();
}

const CSylItem* ItemList::LabelledGroup(std::string_view label) const {
    const CSylItem* first = nullptr;
    if (auto found = labelledGroups_.find(label); found != labelledGroups_.end()) {
        for (const CSylItem* group : found->second) {
            if (first == nullptr || group->pageNumber < first->pageNumber) {
                first = group;
            }
        }
    }
    NameLookups::Note(NameLookups::Kind::kGroupLabel, label,
                      first != nullptr ? std::to_string(first->pageNumber) : "");
    return first;
}

void ItemList::UseGroupTitles(const Warning& warn) {
    if (groups_.empty()) {
        return;
    }
    // One title per label, decided once every file is read, so that no item depends on which
    // files a re-run reads again: the first "@defgroup" that gives one, else the first
    // "@addtogroup" that does.
    std::unordered_map<std::string_view, const GroupDefinition*> defined;
    std::unordered_map<std::string_view, std::string_view> added;
    for (const GroupDefinition& group : groups_) {
        if (!group.defines) {
            if (!group.title.empty()) {
                added.try_emplace(group.label, group.title);
            }
            continue;
        }
        auto [earlier, first] = defined.try_emplace(group.label, &group);
        if (!first) {
            const GroupDefinition& definition = *earlier->second;
            const std::string line = std::to_string(definition.sourceLine);
            const std::string file(definition.sourceFile);
            if (definition.title == group.title || group.title.empty()) {
                warn(group.sourceFile, group.sourceLine,
                     FormatLine(kGroupDefinedAgain, {group.label, file, line}));
            } else {
                warn(group.sourceFile, group.sourceLine,
                     FormatLine(kGroupRetitled, {group.label, file, line, definition.title}));
            }
        } else if (group.title.empty()) {
            // An untitled definition gives no title; a later titled one may.
            defined.erase(earlier);
        }
    }
    auto titleOf = [&](std::string_view label) -> std::optional<std::string_view> {
        if (auto definition = defined.find(label); definition != defined.end()) {
            return definition->second->title;
        }
        if (auto title = added.find(label); title != added.end()) {
            return title->second;
        }
        return std::nullopt;
    };
    for (Slot& item : slots_) {
        if (!item || item->style != CommentStyle::kDoxygen) {
            continue;
        }
        if (std::optional<std::string_view> label = GroupLabel(*item)) {
            // Not a listed name: a group is looked up by its label, so its name may change.
            if (std::optional<std::string_view> title = titleOf(*label)) {
                item->name = *title;
            }
        }
        if (std::optional<std::string_view> title = titleOf(item->group)) {
            item->groupTitle = *title;
        }
    }
}

void ItemList::NoteImage(ImageLookup lookup) {
    if (!lookup.shown.empty() && !lookup.found.empty() && copied_.insert(lookup.found).second) {
        images_.emplace_back(lookup.found, lookup.shown);
    }
    imageLookups_.push_back(std::move(lookup));
}

std::vector<std::string> ItemList::ShownFiles() const {
    std::vector<std::string> files;
    std::unordered_set<std::string_view> seen;
    for (const auto& [source, copy] : images_) {
        if (seen.insert(source).second) {
            files.push_back(source);
        }
    }
    for (const ExampleLookup& example : exampleLookups_) {
        if (!example.found.empty() && seen.insert(example.found).second) {
            files.push_back(example.found);
        }
    }
    return files;
}

void ItemList::Sort() {
    // Comparing the items themselves would visit two items scattered in memory at each of the
    // n log n steps. Instead each item's key is taken once: its group's number among the groups
    // and the first bytes of its name. Items of one group order by name alone, which those bytes
    // mostly settle; the comparisons they cannot settle fall back to the names and SortsBefore,
    // so the order is SortsBefore's.
    struct Key {
        std::uint64_t lead;
        std::uint32_t group;
        std::uint32_t slot;
    };
    std::unordered_map<std::string_view, std::uint32_t> groups;
    std::vector<Key> keys;
    keys.reserve(slots_.size());
    for (std::size_t slot = 0; slot < slots_.size(); ++slot) {
        if (const CSylItem* item = slots_[slot].get()) {
            const auto number = static_cast<std::uint32_t>(groups.size());
            keys.push_back({LeadingBytes(item->name),
                            groups.try_emplace(item->group, number).first->second,
                            static_cast<std::uint32_t>(slot)});
        }
    }
    std::stable_sort(keys.begin(), keys.end(), [this](const Key& a, const Key& b) {
        if (a.group != b.group) {
            return SortsBefore(*slots_[a.slot], *slots_[b.slot]);
        }
        return a.lead != b.lead ? a.lead < b.lead : slots_[a.slot]->name < slots_[b.slot]->name;
    });
    // The empty slots come last.
    std::vector<Slot> sorted(slots_.size());
    for (std::size_t i = 0; i < keys.size(); ++i) {
        sorted[i] = std::move(slots_[keys[i].slot]);
    }
    slots_ = std::move(sorted);
}

void ItemList::Remove(std::size_t slot) {
    Slot& item = slots_[slot];
    if (!item) {
        return;
    }
    if (std::optional<std::string_view> label = GroupLabel(*item)) {
        auto labelled = labelledGroups_.find(*label);
        std::erase(labelled->second, item.get());
        if (labelled->second.empty()) {
            labelledGroups_.erase(labelled);
        }
        item.reset();
        return;
    }
    NoteRows(*item, false);
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

void ItemList::NoteRows(const CSylItem& item, bool add) {
    const bool members = item.kind == DoxygenKind::kClass || item.kind == DoxygenKind::kStruct ||
                         item.kind == DoxygenKind::kUnion || item.kind == DoxygenKind::kEnum;
    if (item.style != CommentStyle::kDoxygen || !members) {
        return;
    }
    // An enumerator is named in its enum's scope too, as C and unscoped C++ enums name it.
    const bool alsoOuter = item.kind == DoxygenKind::kEnum && !IsScopedEnum(item.Declaration());
    const std::size_t scopeEnd = item.name.rfind("::");
    const std::string outer = scopeEnd == std::string::npos
                                  ? std::string()
                                  : std::string(item.name.substr(0, scopeEnd + 2));
    ForEachBlockLine(item.BlockText(), [&](std::string_view line) {
        if (line.empty() || line.front() != kRowMark) {
            return;
        }
        std::string_view names = FieldsOfRow(line).name;
        for (std::size_t at = 0; at < names.size();) {
            std::size_t end = std::min(names.find(kRowNameSeparator, at), names.size());
            std::string_view row = names.substr(at, end - at);
            at = end + kRowNameSeparator.size();
            for (std::string key :
                 {item.name + "::" + std::string(row), outer + std::string(row)}) {
                if (add) {
                    rowHolders_[key].push_back(&item);
                } else if (auto found = rowHolders_.find(key); found != rowHolders_.end()) {
                    std::erase(found->second, &item);
                    if (found->second.empty()) {
                        rowHolders_.erase(found);
                    }
                }
                if (!alsoOuter) {
                    break;
                }
            }
        }
    });
}

std::optional<std::string> ItemList::RowHolder(std::string_view name) const {
    auto found = rowHolders_.find(std::string(name));
    const bool listed = found != rowHolders_.end();
    NameLookups::Note(NameLookups::Kind::kRow, name, listed ? found->second.front()->name : "");
    return listed ? std::optional<std::string>(found->second.front()->name) : std::nullopt;
}

std::optional<std::string> ItemList::LabelledName(std::string_view label) const {
    auto found = labels_.find(std::string(label));
    const bool listed = found != labels_.end() && Contains(found->second);
    NameLookups::Note(NameLookups::Kind::kLabel, label, listed ? found->second : "");
    return listed ? std::optional<std::string>(found->second) : std::nullopt;
}

const std::string* ItemList::ExternalAddress(std::string_view name) const {
    if (name.starts_with("::")) {
        name.remove_prefix(2);
    }
    return external_ != nullptr ? external_->Find(name) : nullptr;
}

std::string_view ItemList::KeepSourceName(std::string path) {
    return sourceNames_.emplace_back(std::move(path));
}

std::string_view WithoutParameterList(std::string_view name) {
    constexpr std::string_view kOperator = "operator";
    const std::size_t open = name.find('(');
    if (open == std::string_view::npos || !name.ends_with(')') ||
        name.substr(0, open).ends_with(kOperator)) {
        return name;
    }
    return name.substr(0, open);
}

std::optional<std::string> ResolveName(const ItemList& items, std::string_view name,
                                       const CSylItem& from) {
    if (from.style == CommentStyle::kDoxygen) {
        name = WithoutParameterList(name);
    }
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
