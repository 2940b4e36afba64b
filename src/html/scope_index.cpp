// The scope index: one pass over the paged items files each under the scope that holds it, and
// each class under the bases its declaration and comment name. No walk follows base edges, so
// inheritance cycles and deep chains cost what their edges cost.
#include "html/scope_index.h"

#include <algorithm>

#include "scan/sorted_lines.h"

namespace sylva {

namespace {

constexpr std::string_view kBlanks = " \t\r\n";
constexpr std::string_view kBaseQualifiers[] = {"public", "protected", "private", "virtual"};

bool IsType(DoxygenKind kind) {
    return kind == DoxygenKind::kClass || kind == DoxygenKind::kStruct ||
           kind == DoxygenKind::kUnion;
}

bool HoldsMembers(DoxygenKind kind) {
    return IsType(kind) || kind == DoxygenKind::kNamespace;
}

// Items that are scopes of their own kind and never members of another.
bool IsPageOfItsOwn(DoxygenKind kind) {
    return kind == DoxygenKind::kGroup || kind == DoxygenKind::kFile ||
           kind == DoxygenKind::kPage || kind == DoxygenKind::kMainPage ||
           kind == DoxygenKind::kOther;
}

std::string_view Trimmed(std::string_view text) {
    std::size_t begin = text.find_first_not_of(kBlanks);
    if (begin == std::string_view::npos) {
        return {};
    }
    return text.substr(begin, text.find_last_not_of(kBlanks) - begin + 1);
}

// `base` without the access and "virtual" words before it.
std::string_view WithoutQualifiers(std::string_view base) {
    for (bool found = true; found;) {
        found = false;
        base = Trimmed(base);
        for (std::string_view word : kBaseQualifiers) {
            if (base.starts_with(word) && base.size() > word.size() &&
                kBlanks.find(base[word.size()]) != std::string_view::npos) {
                base.remove_prefix(word.size());
                found = true;
            }
        }
    }
    return base;
}

// `name` before its first template argument list.
std::string_view WithoutArguments(std::string_view name) {
    return Trimmed(name.substr(0, name.find('<')));
}

}  // namespace

std::string_view EnclosingScopeName(std::string_view name) {
    int depth = 0;
    std::size_t last = std::string_view::npos;
    for (std::size_t i = 0; i + 1 < name.size(); ++i) {
        char ch = name[i];
        if (ch == '<' || ch == '(') {
            ++depth;
        } else if ((ch == '>' || ch == ')') && depth > 0) {
            --depth;
        } else if (depth == 0 && ch == ':' && name[i + 1] == ':') {
            last = i;
            ++i;
        }
    }
    return last == std::string_view::npos ? std::string_view() : name.substr(0, last);
}

std::vector<std::string_view> DeclaredBases(std::string_view declaration) {
    std::vector<std::string_view> bases;
    int depth = 0;
    std::size_t start = std::string_view::npos;
    for (std::size_t i = 0; i < declaration.size(); ++i) {
        char ch = declaration[i];
        if (ch == '<' || ch == '(' || ch == '[') {
            ++depth;
        } else if ((ch == '>' || ch == ')' || ch == ']') && depth > 0) {
            --depth;
        } else if (depth > 0) {
            continue;
        } else if (ch == ':' && i + 1 < declaration.size() && declaration[i + 1] == ':') {
            ++i;
        } else if (ch == ':' && start == std::string_view::npos) {
            start = i + 1;
        } else if ((ch == ',' || ch == '{' || ch == ';') && start != std::string_view::npos) {
            bases.push_back(WithoutQualifiers(declaration.substr(start, i - start)));
            start = ch == ',' ? i + 1 : std::string_view::npos;
            if (ch != ',') {
                break;
            }
        } else if (ch == '{' || ch == ';') {
            break;
        }
    }
    if (start != std::string_view::npos) {
        bases.push_back(WithoutQualifiers(declaration.substr(start)));
    }
    std::erase_if(bases, [](std::string_view base) { return base.empty(); });
    return bases;
}

ScopeIndex::ScopeIndex(const ItemList& items, const std::vector<const CSylItem*>& paged) {
    std::unordered_map<std::string_view, const CSylItem*> groups;
    std::unordered_map<std::string_view, const CSylItem*> files;
    for (const CSylItem* item : paged) {
        if (item->style != CommentStyle::kDoxygen) {
            continue;
        }
        if (HoldsMembers(item->kind)) {
            // Links by name lead to the plain page: it is the scope of the name.
            auto [at, added] = byName_.try_emplace(item->name, item);
            if (!added && item->pageNumber == -1) {
                at->second = item;
            }
        } else if (item->kind == DoxygenKind::kGroup) {
            groups.try_emplace(item->group, item);
        } else if (item->kind == DoxygenKind::kFile) {
            files.try_emplace(item->sourceFile, item);
        }
    }
    for (const CSylItem* item : paged) {
        if (item->style != CommentStyle::kDoxygen || IsPageOfItsOwn(item->kind)) {
            continue;
        }
        const CSylItem* scope = nullptr;
        std::vector<std::string_view> relates = FactsOf(item->BlockText(), kRelatesMark);
        // "@relates Vec" names the class as the comment's scope sees it ("geo::Vec" from geo).
        std::optional<std::string> related;
        if (!relates.empty()) {
            related = ResolveName(items, relates.front(), *item);
        }
        std::string_view scopeName = relates.empty() ? EnclosingScopeName(item->name)
                                     : related       ? std::string_view(*related)
                                                     : relates.front();
        if (auto found = byName_.find(scopeName); found != byName_.end()) {
            scope = found->second;
        }
        if (scope == nullptr) {
            if (auto file = files.find(item->sourceFile); file != files.end()) {
                members_[file->second].push_back(item);
            }
            if (auto group = groups.find(item->group); group != groups.end()) {
                scope = group->second;
            }
        }
        if (scope != nullptr && scope != item) {
            scopeOf_.emplace(item, scope);
            members_[scope].push_back(item);
        }
        if (IsType(item->kind)) {
            LinkBases(items, *item);
        }
    }
}

void ScopeIndex::LinkBases(const ItemList& items, const CSylItem& type) {
    std::vector<std::string_view> named = DeclaredBases(type.Declaration());
    for (std::string_view base : FactsOf(type.BlockText(), kBaseMark)) {
        named.push_back(base);
    }
    std::vector<const CSylItem*>& bases = bases_[&type];
    for (std::string_view base : named) {
        std::optional<std::string> listed = ResolveName(items, WithoutArguments(base), type);
        if (!listed) {
            continue;
        }
        auto found = byName_.find(*listed);
        // A class named as its own base (through a typedef, or by mistake) is no base of itself.
        if (found == byName_.end() || found->second == &type || !IsType(found->second->kind) ||
            std::find(bases.begin(), bases.end(), found->second) != bases.end()) {
            continue;
        }
        bases.push_back(found->second);
        derived_[found->second].push_back(&type);
    }
}

const CSylItem* ScopeIndex::ScopeOf(const CSylItem& item) const {
    auto found = scopeOf_.find(&item);
    return found == scopeOf_.end() ? nullptr : found->second;
}

const std::vector<const CSylItem*>& ScopeIndex::Find(const ItemsOf& map, const CSylItem& item) {
    static const std::vector<const CSylItem*> kNone;
    auto found = map.find(&item);
    return found == map.end() ? kNone : found->second;
}

const std::vector<const CSylItem*>& ScopeIndex::Members(const CSylItem& scope) const {
    return Find(members_, scope);
}

const std::vector<const CSylItem*>& ScopeIndex::Bases(const CSylItem& type) const {
    return Find(bases_, type);
}

const std::vector<const CSylItem*>& ScopeIndex::Derived(const CSylItem& type) const {
    return Find(derived_, type);
}

}  // namespace sylva
