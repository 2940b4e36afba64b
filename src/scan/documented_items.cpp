// Finishing the items of the doxygen style once every file is read: one item per entity
// documented in two places, undocumented overrides with the texts of the members they
// override, and the texts copied from one item into another.
#include <algorithm>
#include <cctype>
#include <deque>
#include <optional>
#include <set>
#include <tuple>
#include <unordered_map>
#include <unordered_set>

#include "scan/class_bases.h"
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
// What an "@overload" comment says of its function, behind the text it copies from the function
// it overloads; a member function says so.
constexpr std::string_view kOverloadSentence =
    "This is an overloaded %sfunction, provided for convenience. It differs from the above "
    "function only in what argument(s) it accepts.";
constexpr std::string_view kMemberWord = "member ";
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

bool IsSignatureLine(std::string_view line) {
    return line.size() > 1 && line.front() == kSignatureMark;
}

Signature SignatureOfLine(std::string_view line) {
    return {line.substr(2), line[1] == '1'};
}

Signature SignatureOf(const std::vector<std::string>& lines) {
    const auto found = std::find_if(lines.begin(), lines.end(), IsSignatureLine);
    return found != lines.end() ? SignatureOfLine(*found) : Signature{};
}

// True iff a raw line of the block text passes `test`; the lines are viewed, not copied.
template <typename Test>
bool AnyBlockLine(std::string_view blockText, Test test) {
    bool any = false;
    ForEachBlockLine(blockText, [&](std::string_view line) { any = any || test(line); });
    return any;
}

// The signature fact of an item, viewing its block text.
Signature SignatureOfBlock(std::string_view blockText) {
    Signature signature;
    bool found = false;
    ForEachBlockLine(blockText, [&](std::string_view line) {
        if (!found && IsSignatureLine(line)) {
            signature = SignatureOfLine(line);
            found = true;
        }
    });
    return signature;
}

bool IsInheritLine(std::string_view line) {
    return IsCopyLine(line) && line.size() == 3 && line[2] == kCopyInherited;
}

bool IsInheriting(const CSylItem& item) {
    return AnyBlockLine(item.BlockText(), IsInheritLine);
}

// True iff the lines say something of their own beside a mark that asks for inherited text.
bool HasOwnText(const std::vector<std::string>& lines) {
    return std::any_of(lines.begin(), lines.end(), [](std::string_view line) {
        return (IsSection(line, kSectionDescription) && !IsInheritLine(line)) ||
               (IsRow(line) && !RowComment(line).empty()) || IsSection(line, kSectionReturn) ||
               IsSection(line, kSectionThrows);
    });
}

// True iff `declaration` holds `word` as a whole word.
bool HoldsWord(std::string_view declaration, std::string_view word) {
    auto wordByte = [](char ch) {
        return (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9') ||
               ch == '_';
    };
    for (std::size_t at = declaration.find(word); at != std::string_view::npos;
         at = declaration.find(word, at + 1)) {
        std::size_t end = at + word.size();
        if ((at == 0 || !wordByte(declaration[at - 1])) &&
            (end == declaration.size() || !wordByte(declaration[end]))) {
            return true;
        }
    }
    return false;
}

bool IsVirtual(std::string_view declaration) {
    return HoldsWord(declaration, "virtual") || HoldsWord(declaration, "override") ||
           HoldsWord(declaration, "final");
}

std::string WithoutBlanks(std::string_view text) {
    std::string kept;
    for (char ch : text) {
        if (ch != ' ' && ch != '\t' && ch != '\n') {
            kept.push_back(ch);
        }
    }
    return kept;
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
bool IsType(DoxygenKind kind) {
    return kind == DoxygenKind::kClass || kind == DoxygenKind::kStruct ||
           kind == DoxygenKind::kUnion;
}

bool IsSpecialization(const CSylItem& item) {
    return IsType(item.kind) && DeclaresSpecialization(item.Declaration(), item.name);
}

// The template head of a function template declared in its own scope, without blanks
// ("template<typename_Tp>"); empty for anything else. "uchar* ptr(int)" and "template <typename
// T> T* ptr(int)" are two overloads of one parameter list. A definition written outside its
// scope ("template <class T> void Box<T>::f(int)") gets none: its head may be its class's, and
// it is one entity with its declaration.
std::string TemplateHeadOf(const CSylItem& item) {
    constexpr std::string_view kTemplate = "template";
    const std::string_view declaration = item.Declaration();
    if (item.kind != DoxygenKind::kFunction || !declaration.starts_with(kTemplate)) {
        return {};
    }
    const std::size_t colons = item.name.rfind("::");
    const std::string_view name = colons == std::string::npos
                                      ? std::string_view(item.name)
                                      : std::string_view(item.name).substr(colons + 2);
    // The name as a word of its own followed by its parameter list.
    std::size_t at = name.empty() ? std::string_view::npos : declaration.find(name);
    for (; at != std::string_view::npos; at = declaration.find(name, at + 1)) {
        const std::size_t behind = declaration.find_first_not_of(" \t\n", at + name.size());
        const unsigned char before =
            at == 0 ? ' ' : static_cast<unsigned char>(declaration[at - 1]);
        const bool word = std::isalnum(before) == 0 && before != '_';
        if (word && behind != std::string_view::npos && declaration[behind] == '(') {
            break;
        }
    }
    if (at == std::string_view::npos || (at > 0 && declaration[at - 1] == ':')) {
        return {};
    }
    std::string head;
    int depth = 0;
    for (std::size_t i = 0; i < at; ++i) {
        const char ch = declaration[i];
        depth += ch == '<' ? 1 : ch == '>' ? -1 : 0;
        if (ch != ' ' && ch != '\t' && ch != '\n') {
            head.push_back(ch);
        }
        if (ch == '>' && depth == 0) {
            return head;
        }
    }
    return {};
}

}  // namespace

// The steps behind ItemList::FinishDocumented, on the list's items.
class DocumentedItems {
  public:
    DocumentedItems(ItemList& list, std::vector<ItemList::Slot>& slots,
                    std::vector<ItemList::CountedDeclaration>& declarations,
                    const ItemList::Warning& warn)
        : list_(list), slots_(slots), declarations_(declarations), warn_(warn) {}

    void MergeDeclarations();
    // Indexes the items by name; the steps below keep the index up to date.
    void IndexNames();
    // An undocumented member function of a derived class takes the text of the nearest
    // documented member of a base that it overrides (same name and parameter types, one of the
    // two virtual), through documented bases, breadth first; one that overrides none is no item.
    // A using-declaration of a base member takes the text of the nearest documented one of its
    // name.
    // The declaration of one that takes a text counts as documented: its page shows that text.
    void InheritTexts();
    void CopyTexts();
    // A function "@relates" puts on a class's page: the class's See also names it.
    void Relate();

  private:
    void Merge(CSylItem& into, CSylItem& from);
    // Expands the copy lines of `item`; its state says whether that is done, under way or not.
    void Expand(CSylItem& item);
    CSylItem* CopySource(const CSylItem& item, std::string_view name);
    // The documented member that `item` overrides, or null.
    const CSylItem* Overridden(const CSylItem& item, std::string_view types) const;
    // The class, struct or union listed as `name`, or null.
    const CSylItem* TypeNamed(std::string_view name) const;
    static void Store(CSylItem& item, const std::vector<std::string>& lines);
    void Warn(const CSylItem& item, const WarningMessage& message) const {
        warn_(item.sourceFile, item.sourceLine, message.About(item.name));
    }

    ItemList& list_;
    std::vector<ItemList::Slot>& slots_;
    std::vector<ItemList::CountedDeclaration>& declarations_;
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
        key.append(SignatureOfBlock(item->BlockText()).types);
        key.append(TemplateHeadOf(*item));
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

void DocumentedItems::IndexNames() {
    for (const ItemList::Slot& slot : slots_) {
        if (slot && slot->style == CommentStyle::kDoxygen) {
            byName_[slot->name].push_back(slot.get());
        }
    }
}

const CSylItem* DocumentedItems::TypeNamed(std::string_view name) const {
    auto found = byName_.find(name);
    if (found == byName_.end()) {
        return nullptr;
    }
    auto type = std::find_if(found->second.begin(), found->second.end(),
                             [](const CSylItem* item) { return IsType(item->kind); });
    return type == found->second.end() ? nullptr : *type;
}

const CSylItem* DocumentedItems::Overridden(const CSylItem& item, std::string_view types) const {
    std::string_view scope = EnclosingScopeName(item.name);
    const CSylItem* derived = scope.empty() ? nullptr : TypeNamed(scope);
    if (derived == nullptr) {
        return nullptr;
    }
    const std::string member = item.name.substr(scope.size() + 2);
    const std::string wanted = WithoutBlanks(types);
    const bool marked = IsVirtual(item.Declaration());
    // "using Base::name;" names every overload of the name: the first documented one speaks
    // for it.
    const bool used = item.Declaration().starts_with("using");
    // Each class is visited once: cycles end, and a chain costs what its classes cost.
    std::unordered_set<const CSylItem*> visited{derived};
    std::deque<const CSylItem*> queue{derived};
    while (!queue.empty()) {
        const CSylItem* type = queue.front();
        queue.pop_front();
        std::vector<std::string_view> named = DeclaredBases(type->Declaration());
        for (std::string_view base : FactsOf(type->BlockText(), kBaseMark)) {
            named.push_back(base);
        }
        for (std::string_view base : named) {
            std::optional<std::string> listed =
                ResolveName(list_, WithoutTemplateArguments(base), *type);
            const CSylItem* baseType = listed ? TypeNamed(*listed) : nullptr;
            if (baseType == nullptr || !visited.insert(baseType).second) {
                continue;
            }
            auto members = byName_.find(baseType->name + "::" + member);
            if (members != byName_.end()) {
                for (const CSylItem* candidate : members->second) {
                    if (candidate->kind != DoxygenKind::kFunction || IsInheriting(*candidate)) {
                        continue;
                    }
                    if (used) {
                        return candidate;
                    }
                    if (!(marked || IsVirtual(candidate->Declaration()))) {
                        continue;
                    }
                    const std::vector<std::string> lines = RawLines(candidate->BlockText());
                    if (WithoutBlanks(SignatureOf(lines).types) == wanted) {
                        return candidate;
                    }
                }
            }
            queue.push_back(baseType);
        }
    }
    return nullptr;
}

void DocumentedItems::InheritTexts() {
    // Where the overrides that took a text are declared: file, line and name, as they were counted.
    std::set<std::tuple<std::string_view, int, std::string_view>> inherited;
    for (std::size_t slot = 0; slot < slots_.size(); ++slot) {
        CSylItem* item = slots_[slot].get();
        if (item == nullptr || item->style != CommentStyle::kDoxygen || !IsInheriting(*item)) {
            continue;
        }
        std::vector<std::string> lines = RawLines(item->BlockText());
        const CSylItem* overridden = nullptr;
        if (!HasOwnText(lines)) {
            const std::string types(SignatureOf(lines).types);
            overridden = Overridden(*item, types);
            if (overridden == nullptr) {
                // The map's key views a name: it must never go on viewing the item removed.
                auto named = byName_.extract(std::string_view(item->name));
                CSylItem* next = nullptr;
                if (!named.empty()) {
                    std::erase(named.mapped(), item);
                    if (!named.mapped().empty()) {
                        next = named.mapped().front();
                        named.key() = next->name;
                        byName_.insert(std::move(named));
                    }
                }
                const bool plainPage = item->pageNumber < 0;
                list_.Remove(slot);
                if (plainPage && next != nullptr) {
                    next->UsePlainPageName();
                }
                continue;
            }
            inherited.emplace(item->sourceFile, item->sourceLine, item->name);
        }
        for (auto line = lines.begin(); line != lines.end();) {
            if (!IsInheritLine(*line)) {
                ++line;
            } else if (overridden == nullptr) {
                line = lines.erase(line);
            } else {
                const std::vector<std::string> source = RawLines(overridden->BlockText());
                *line = std::string{static_cast<char>(kSectionDescription), kCopyMark, kCopyAll} +
                        overridden->name + std::string(SignatureOf(source).types);
                ++line;
            }
        }
        Store(*item, lines);
    }
    for (ItemList::CountedDeclaration& counted : declarations_) {
        if (counted.seen.kind == DoxygenKind::kFunction &&
            inherited.contains({counted.sourceFile, counted.seen.line, counted.seen.name})) {
            counted.seen.documented = true;
        }
    }
}

void DocumentedItems::CopyTexts() {
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
    if (!AnyBlockLine(item.BlockText(), IsCopyLine)) {
        state = State::kDone;
        return;
    }
    std::vector<std::string> lines = RawLines(item.BlockText());
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
        const bool overload = what == kCopyAll && name.empty();
        const auto sayOverloaded = [&] {
            if (overload) {
                const std::string_view scope = EnclosingScopeName(item.name);
                const bool member = !scope.empty() && TypeNamed(scope) != nullptr;
                expanded.push_back(static_cast<char>(kSectionDescription) +
                                   FormatLine(kOverloadSentence, {member ? kMemberWord : ""}));
            }
        };
        CSylItem* source = CopySource(item, name);
        if (source == nullptr) {
            Warn(item, name.empty() ? WarningMessage(kNoOverloaded)
                                    : FormatLine(kUnknownCopy, {command}));
            sayOverloaded();
            continue;
        }
        Expand(*source);
        if (states_[source] == State::kExpanding) {
            Warn(item, FormatLine(kCopyCycle, {command}));
            sayOverloaded();
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
                        IsSection(copied, kSectionThrows) || IsSection(copied, kSectionSeeAlso))) {
                copiedSections.push_back(copied);
            }
        }
        sayOverloaded();
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
    DocumentedItems documented(*this, slots_, declarations_, warn);
    documented.MergeDeclarations();
    documented.IndexNames();
    documented.InheritTexts();
    documented.CopyTexts();
    documented.Relate();
}

}  // namespace sylva
