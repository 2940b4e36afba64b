// Counting the public declarations of a file, documented or not, for the coverage counts.
#include <algorithm>
#include <utility>

#include "scan/doxygen/items.h"
#include "scan/doxygen/walker.h"
#include "support/zt_string.h"

namespace sylva::doxygen_walk {

namespace {

bool IsTypeKind(DoxygenKind kind) {
    return kind == DoxygenKind::kClass || kind == DoxygenKind::kStruct ||
           kind == DoxygenKind::kUnion || kind == DoxygenKind::kEnum;
}

// True iff `word` stands as a word in `text` before its first "(", "=" or "{": a storage class
// or "friend" of the declaration, not a word of its parameters or value.
bool HasLeadingWord(std::string_view text, std::string_view word) {
    text = text.substr(0, std::min(text.find_first_of("(={"), text.size()));
    for (std::size_t at = text.find(word); at != std::string_view::npos;
         at = text.find(word, at + 1)) {
        const std::size_t end = at + word.size();
        if ((at == 0 || !IsWordByte(text[at - 1])) &&
            (end == text.size() || !IsWordByte(text[end]))) {
            return true;
        }
    }
    return false;
}

}  // namespace

std::string DoxygenWalker::GroupHere() const {
    const int documented = scopes_.back().documented;
    if (documented >= 0 && !items_[static_cast<std::size_t>(documented)].group.empty()) {
        return items_[static_cast<std::size_t>(documented)].group;
    }
    if (!groups_.empty() && groups_.back().labelled >= 0) {
        return groups_[static_cast<std::size_t>(groups_.back().labelled)].label;
    }
    return {};
}

bool DoxygenWalker::Countable() const {
    if (reading_.options.declarations == nullptr || reading_.hidden) {
        return false;
    }
    const Scope& scope = scopes_.back();
    switch (scope.kind) {
        case ScopeKind::kFile:
        case ScopeKind::kNamespace:
        case ScopeKind::kLinkage:
            return !scope.unlisted;
        case ScopeKind::kClass:
            return !scope.unlisted && scope.access != Access::kPrivate;
        case ScopeKind::kEnum:
        case ScopeKind::kBody:
            break;
    }
    return false;
}

int DoxygenWalker::CountDeclaration(const Statement& s, const CppDeclaration& declaration,
                                    char terminator, int item, bool documented, bool internal) {
    const DoxygenKind kind = KindOf(declaration.kind);
    const bool member = Current().kind == ScopeKind::kClass;
    if (!Countable() || kind == DoxygenKind::kOther || kind == DoxygenKind::kNamespace ||
        (IsTypeKind(kind) && terminator != '{') ||
        declaration.name.find("::") != std::string::npos ||
        HasLeadingWord(s.text, member ? "friend" : "static")) {
        return -1;
    }
    SeenDeclaration seen;
    seen.line = s.line;
    seen.kind = kind;
    seen.documented = documented;
    seen.group = item >= 0 ? items_[static_cast<std::size_t>(item)].group : GroupHere();
    if (kind != DoxygenKind::kVariable || declaration.declarators.size() < 2) {
        seen.name = declaration.name.empty() ? std::string() : Qualify(declaration.name);
        // An anonymous type is named behind its body, if at all: it has no key yet.
        const std::string key = seen.name.empty() ? std::string()
                                                  : std::to_string(static_cast<int>(kind)) + ' ' +
                                                        seen.name + declaration.signature;
        return CountSeen(std::move(seen), key, internal);
    }
    int counted = -1;
    for (const std::string& name : declaration.declarators) {
        SeenDeclaration one = seen;
        one.name = Qualify(name);
        const std::string key = std::to_string(static_cast<int>(kind)) + ' ' + one.name;
        counted = CountSeen(std::move(one), key, internal);
    }
    return counted;
}

int DoxygenWalker::CountMacro(std::string_view directive, const CppDeclaration& macro, int item,
                              bool internal) {
    const bool guard =
        !macro.hasParameterList && macro.name == guard_ &&
        TrimView(directive.substr(directive.find(macro.name) + macro.name.size()), kSpaces).empty();
    guard_.clear();
    if (!Countable() || macro.name.empty() || guard) {
        return -1;
    }
    SeenDeclaration seen;
    seen.line = line_;
    seen.kind = DoxygenKind::kMacro;
    seen.name = macro.name;
    seen.documented = item >= 0;
    seen.group = item >= 0 ? items_[static_cast<std::size_t>(item)].group : GroupHere();
    return CountSeen(std::move(seen), "macro " + macro.name, internal);
}

void DoxygenWalker::MarkSeenDocumented(int index) {
    if (reading_.options.declarations != nullptr && index >= 0) {
        (*reading_.options.declarations)[static_cast<std::size_t>(index)].documented = true;
    }
}

int DoxygenWalker::CountSeen(SeenDeclaration seen, const std::string& key, bool internal) {
    if (internal && !reading_.options.showHidden) {
        return -1;
    }
    std::vector<SeenDeclaration>& list = *reading_.options.declarations;
    if (!key.empty()) {
        auto [at, added] = seenKeys_.try_emplace(key, list.size());
        if (!added) {
            list[at->second].documented = list[at->second].documented || seen.documented;
            return static_cast<int>(at->second);
        }
    }
    for (auto scope = scopes_.rbegin(); scope != scopes_.rend(); ++scope) {
        if (scope->kind == ScopeKind::kNamespace) {
            seen.space = scope->qualified;
            break;
        }
    }
    list.push_back(std::move(seen));
    return static_cast<int>(list.size() - 1);
}

void DoxygenWalker::NameSeenBody(const Statement& s) {
    std::vector<SeenDeclaration>* list = reading_.options.declarations;
    if (list == nullptr || s.bodySeen < 0) {
        return;
    }
    SeenDeclaration& seen = (*list)[static_cast<std::size_t>(s.bodySeen)];
    if (std::string behind = NameBehindBody(s, !seen.name.empty()); !behind.empty()) {
        seen.name = std::move(behind);
    }
}

void DoxygenWalker::DropNamelessSeen() {
    if (std::vector<SeenDeclaration>* list = reading_.options.declarations) {
        std::erase_if(*list, [](const SeenDeclaration& seen) { return seen.name.empty(); });
    }
}

}  // namespace sylva::doxygen_walk
