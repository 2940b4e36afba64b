// Finishing the items of the doxygen style once every file is read: one item per entity
// documented in two places, and the texts copied from one item into another.
#include <algorithm>
#include <optional>
#include <unordered_map>
#include <unordered_set>

#include "scan/doxygen/reader.h"
#include "scan/sorted_lines.h"
#include "support/text_format.h"
#include "support/warning_kind.h"

namespace sylva {

namespace {

constexpr WarningKind kUnknownCopy = {"doxygen.unknown-copy",
                                      "\"%s\" names no documented item; nothing is copied"};
constexpr WarningKind kNoOverloaded = {
    "doxygen.no-overloaded",
    "\"@overload\" stands at the only function of its name; nothing is copied"};
constexpr WarningKind kUnknownRelated = {
    "doxygen.unknown-related",
    "\"%s\" names no documented class; the function stands on its own page only"};
constexpr WarningKind kCopyCycle = {
    "doxygen.copy-cycle",
    "\"%s\" would copy this item's own text back into it; the copy is left out"};

// The raw lines of an item's block text (scan/sorted_lines.h), each with its section or mark.
std::vector<std::string> RawLines(std::string_view blockText) {
    std::vector<std::string> lines;
    ForEachBlockLine(blockText, [&](std::string_view line) { lines.emplace_back(line); });
    return lines;
}

bool IsSection(std::string_view line, SectionKind section) {
    return !line.empty() && line.front() == static_cast<char>(section);
}

bool IsCopyLine(std::string_view line) {
    return IsSection(line, kSectionDescription) && line.size() > 2 && line[1] == kCopyMark;
}

// A row of the parameter or member table, or of the template parameter table.
bool IsRow(std::string_view line) {
    return !line.empty() && (line.front() == kRowMark || line.front() == kTemplateRowMark);
}

std::string_view RowName(std::string_view line) {
    return FieldsOfRow(line).name;
}

std::string_view RowComment(std::string_view line) {
    return FieldsOfRow(line).comment;
}

// The signature fact of an item: its parameter types, and whether it is a definition.
struct Signature {
    std::string_view types;
    bool definition = false;
};

Signature SignatureOf(const std::vector<std::string>& lines) {
    for (const std::string& line : lines) {
        if (!line.empty() && line.front() == kSignatureMark && line.size() > 1) {
            return {std::string_view(line).substr(2), line[1] == '1'};
        }
    }
    return {};
}

// The kinds whose entity has one name in a program, so that two items of the same name and kind
// (with the same parameter types, for functions) are one entity written about twice.
bool IsMergeable(DoxygenKind kind) {
    switch (kind) {
        case DoxygenKind::kFunction:
        case DoxygenKind::kClass:
        case DoxygenKind::kStruct:
        case DoxygenKind::kUnion:
        case DoxygenKind::kEnum:
        case DoxygenKind::kTypedef:
        case DoxygenKind::kVariable:
        case DoxygenKind::kMacro:
        case DoxygenKind::kNamespace:
            return true;
        default:
            return false;
    }
}

// True iff the class, struct or union `item` declares is a specialization of a template: its
// name is followed by template arguments.
bool IsSpecialization(const CSylItem& item) {
    if (item.kind != DoxygenKind::kClass && item.kind != DoxygenKind::kStruct &&
        item.kind != DoxygenKind::kUnion) {
        return false;
    }
    std::string_view name = item.name;
    std::size_t colons = name.rfind("::");
    name = colons == std::string_view::npos ? name : name.substr(colons + 2);
    std::string_view declaration = item.Declaration();
    for (std::size_t at = declaration.find(name); at != std::string_view::npos;
         at = declaration.find(name, at + 1)) {
        std::size_t next = declaration.find_first_not_of(" \t\n", at + name.size());
        if (next != std::string_view::npos && declaration[next] == '<') {
            return true;
        }
    }
    return false;
}

}  // namespace

// The steps behind ItemList::FinishDocumented, on the list's items.
class DocumentedItems {
  public:
    DocumentedItems(ItemList& list, std::vector<ItemList::Slot>& slots,
                    const ItemList::Warning& warn)
        : list_(list), slots_(slots), warn_(warn) {}

    void MergeDeclarations();
    void CopyTexts();
    // A function "@relates" puts on a class's page: the class's See also names it.
    void Relate();

  private:
    void Merge(CSylItem& into, CSylItem& from);
    // Expands the copy lines of `item`; its state says whether that is done, under way or not.
    void Expand(CSylItem& item);
    CSylItem* CopySource(const CSylItem& item, std::string_view name);
    static void Store(CSylItem& item, const std::vector<std::string>& lines);
    void Warn(const CSylItem& item, const WarningMessage& message) const {
        warn_(item.sourceFile, item.sourceLine, message.About(item.name));
    }

    ItemList& list_;
    std::vector<ItemList::Slot>& slots_;
    const ItemList::Warning& warn_;
    enum class State { kNone, kExpanding, kDone };
    std::unordered_map<const CSylItem*, State> states_;
    std::unordered_map<std::string_view, std::vector<CSylItem*>> byName_;
};

void DocumentedItems::Store(CSylItem& item, const std::vector<std::string>& lines) {
    std::string text(item.Declaration());
    for (const std::string& line : lines) {
        AppendBlockLine(text, line);
    }
    item.ReplaceSourceText(std::move(text), item.Declaration().size());
}

void DocumentedItems::MergeDeclarations() {
    std::unordered_map<std::string, std::size_t> first;
    for (std::size_t slot = 0; slot < slots_.size(); ++slot) {
        CSylItem* item = slots_[slot].get();
        if (item == nullptr || item->style != CommentStyle::kDoxygen) {
            continue;
        }
        // A group is one by its label: its texts from every file join in the order read.
        const std::optional<std::string_view> label = GroupLabel(*item);
        if (!label && !IsMergeable(item->kind)) {
            continue;
        }
        std::string key(label.value_or(item->name));
        key.push_back(kRowFieldSeparator);
        key.push_back(static_cast<char>(item->kind));
        key.append(SignatureOf(RawLines(item->BlockText())).types);
        if (IsSpecialization(*item)) {
            // "template <> class A<int>" is an entity of its own beside A.
            key.push_back(kRowFieldSeparator);
            key.append(item->Declaration());
        }
        auto [found, added] = first.try_emplace(std::move(key), slot);
        if (added) {
            continue;
        }
        CSylItem& into = *slots_[found->second];
        bool plainPage = item->pageNumber < 0;
        Merge(into, *item);
        list_.Remove(slot);
        if (plainPage) {
            into.UsePlainPageName();
        }
    }
}

void DocumentedItems::Merge(CSylItem& into, CSylItem& from) {
    std::vector<std::string> kept = RawLines(into.BlockText());
    std::vector<std::string> more = RawLines(from.BlockText());
    Signature keptSignature = SignatureOf(kept);
    Signature moreSignature = SignatureOf(more);
    std::size_t keptRows = std::count_if(kept.begin(), kept.end(), IsRow);
    std::size_t moreRows = std::count_if(more.begin(), more.end(), IsRow);
    // The page shows the prototype of a function, and the body of a type that lists members.
    bool otherDeclaration = into.kind == DoxygenKind::kFunction
                                ? keptSignature.definition && !moreSignature.definition
                                : moreRows > keptRows;
    std::string declaration(otherDeclaration ? from.Declaration() : into.Declaration());
    if (otherDeclaration) {
        into.hasSyntax = from.hasSyntax;
    }
    std::vector<std::string> lines;
    for (std::string& line : kept) {
        if (!line.empty() && line.front() != kSignatureMark) {
            lines.push_back(std::move(line));
        }
    }
    for (std::string& line : more) {
        if (line.empty() || line.front() == kSignatureMark || line.front() == kLabelMark ||
            IsSection(line, kSectionDocType)) {
            continue;
        }
        if (IsRow(line)) {
            auto same = std::find_if(lines.begin(), lines.end(), [&](const std::string& row) {
                return IsRow(row) && row.front() == line.front() && RowName(row) == RowName(line);
            });
            if (same != lines.end()) {
                if (RowComment(*same).empty()) {
                    *same = std::move(line);
                }
                continue;
            }
        }
        lines.push_back(std::move(line));
    }
    if (!keptSignature.types.empty() || !moreSignature.types.empty()) {
        std::string signature(1, kSignatureMark);
        signature.push_back(keptSignature.definition && moreSignature.definition ? '1' : '0');
        signature.append(keptSignature.types.empty() ? moreSignature.types : keptSignature.types);
        lines.push_back(std::move(signature));
    }
    if (into.group == kDefaultGroupName && from.group != kDefaultGroupName) {
        into.group = from.group;
    }
    std::string text = std::move(declaration);
    std::size_t size = text.size();
    for (const std::string& line : lines) {
        AppendBlockLine(text, line);
    }
    into.ReplaceSourceText(std::move(text), size);
}

void DocumentedItems::CopyTexts() {
    for (const ItemList::Slot& slot : slots_) {
        if (slot && slot->style == CommentStyle::kDoxygen) {
            byName_[slot->name].push_back(slot.get());
        }
    }
    for (const ItemList::Slot& slot : slots_) {
        if (slot && slot->style == CommentStyle::kDoxygen) {
            Expand(*slot);
        }
    }
}

CSylItem* DocumentedItems::CopySource(const CSylItem& item, std::string_view name) {
    auto others = [&](std::string_view listed) -> std::vector<CSylItem*> {
        auto found = byName_.find(listed);
        std::vector<CSylItem*> items;
        if (found != byName_.end()) {
            for (CSylItem* other : found->second) {
                if (other != &item) {
                    items.push_back(other);
                }
            }
        }
        return items;
    };
    if (name.empty()) {
        std::vector<CSylItem*> overloaded = others(item.name);
        return overloaded.empty() ? nullptr : overloaded.front();
    }
    std::string_view types;
    std::size_t open = name.find('(');
    if (open != std::string_view::npos) {
        types = name.substr(open);
        name = name.substr(0, open);
    }
    std::optional<std::string> listed = ResolveName(list_, name, item);
    if (!listed) {
        return nullptr;
    }
    std::vector<CSylItem*> candidates = others(*listed);
    if (candidates.empty()) {
        // The item names itself: its own text is no copy.
        return nullptr;
    }
    if (!types.empty()) {
        std::string wanted;
        for (char ch : types) {
            if (ch != ' ') {
                wanted.push_back(ch);
            }
        }
        for (CSylItem* candidate : candidates) {
            // The signature's texts point into the lines, which must outlive the loop.
            const std::vector<std::string> lines = RawLines(candidate->BlockText());
            std::string have;
            for (char ch : SignatureOf(lines).types) {
                if (ch != ' ') {
                    have.push_back(ch);
                }
            }
            if (have == wanted) {
                return candidate;
            }
        }
    }
    return candidates.front();
}

void DocumentedItems::Expand(CSylItem& item) {
    State& state = states_[&item];
    if (state != State::kNone) {
        return;
    }
    state = State::kExpanding;
    std::vector<std::string> lines = RawLines(item.BlockText());
    if (std::none_of(lines.begin(), lines.end(), IsCopyLine)) {
        states_[&item] = State::kDone;
        return;
    }
    bool hasRows = std::any_of(lines.begin(), lines.end(), IsRow);
    std::vector<std::string> expanded;
    std::vector<std::string> copiedSections;
    for (std::string& line : lines) {
        if (!IsCopyLine(line)) {
            expanded.push_back(std::move(line));
            continue;
        }
        char what = line[2];
        std::string_view name = std::string_view(line).substr(3);
        std::string command = what == kCopyBrief     ? "@copybrief"
                              : what == kCopyDetails ? "@copydetails"
                                                     : "@copydoc";
        if (!name.empty()) {
            command += ' ';
            command += name;
        }
        CSylItem* source = CopySource(item, name);
        if (source == nullptr) {
            Warn(item, name.empty() ? WarningMessage(kNoOverloaded)
                                    : FormatLine(kUnknownCopy, {command}));
            continue;
        }
        Expand(*source);
        if (states_[source] == State::kExpanding) {
            Warn(item, FormatLine(kCopyCycle, {command}));
            continue;
        }
        bool brief = true;
        for (const std::string& copied : RawLines(source->BlockText())) {
            if (IsSection(copied, kSectionDescription)) {
                if ((brief && what != kCopyDetails) || (!brief && what != kCopyBrief)) {
                    expanded.push_back(copied);
                }
                brief = false;
            } else if (what == kCopyAll &&
                       ((IsRow(copied) && !hasRows) || IsSection(copied, kSectionReturn) ||
                        IsSection(copied, kSectionThrows))) {
                copiedSections.push_back(copied);
            }
        }
    }
    for (std::string& copied : copiedSections) {
        bool own = std::any_of(expanded.begin(), expanded.end(), [&](const std::string& line) {
            return !IsRow(copied) && !line.empty() && line.front() == copied.front();
        });
        if (!own) {
            expanded.push_back(std::move(copied));
        }
    }
    Store(item, expanded);
    states_[&item] = State::kDone;
}

void DocumentedItems::Relate() {
    for (const ItemList::Slot& slot : slots_) {
        if (!slot || slot->style != CommentStyle::kDoxygen) {
            continue;
        }
        std::vector<std::string_view> scopes = FactsOf(slot->BlockText(), kRelatesMark);
        if (scopes.empty()) {
            continue;
        }
        std::optional<std::string> listed = ResolveName(list_, scopes.front(), *slot);
        auto found = listed ? byName_.find(*listed) : byName_.end();
        if (found == byName_.end() || found->second.front() == slot.get()) {
            Warn(*slot, FormatLine(kUnknownRelated, {std::string(scopes.front())}));
            continue;
        }
        CSylItem& scope = *found->second.front();
        std::vector<std::string> lines = RawLines(scope.BlockText());
        std::string seeAlso(1, static_cast<char>(kSectionSeeAlso));
        seeAlso += slot->name;
        lines.push_back(std::move(seeAlso));
        Store(scope, lines);
        if (slot->group == kDefaultGroupName) {
            slot->group = scope.group;
        }
    }
}

void ItemList::FinishDocumented(const Warning& warn) {
    DocumentedItems documented(*this, slots_, warn);
    documented.MergeDeclarations();
    documented.CopyTexts();
    documented.Relate();
}

}  // namespace sylva
