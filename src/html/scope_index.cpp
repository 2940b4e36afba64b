// The scope index: one pass over the paged items files each under the scope that holds it, and
// each class under the bases its declaration and comment name. No walk follows base edges, so
// inheritance cycles and deep chains cost what their edges cost.
#include "html/scope_index.h"

#include <algorithm>

#include "scan/sorted_lines.h"

namespace sylva {

namespace {

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

}  // namespace

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
        auto group = groups.find(item->group);
        if (scope == nullptr) {
            if (auto file = files.find(item->sourceFile); file != files.end()) {
                members_[file->second].push_back(item);
            }
            if (group != groups.end()) {
                scope = group->second;
            }
        } else if (group != groups.end() &&
                   (scope->kind == DoxygenKind::kNamespace || item->group != scope->group)) {
            // A group gathers names across namespaces and classes: its page lists them beside
            // their scope's. A class member in the group of its class is listed through it.
            members_[group->second].push_back(item);
            groupOf_.emplace(item, group->second);
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
        std::optional<std::string> listed =
            ResolveName(items, WithoutTemplateArguments(base), type);
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

const CSylItem* ScopeIndex::GroupOf(const CSylItem& item) const {
    auto found = groupOf_.find(&item);
    return found == groupOf_.end() ? nullptr : found->second;
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

const CSylItem* ScopeIndex::Named(std::string_view name) const {
    auto found = byName_.find(name);
    return found == byName_.end() ? nullptr : found->second;
}

std::string ScopeIndex::BaseNames(std::string_view name) const {
    std::string names;
    if (const CSylItem* type = Named(name)) {
        for (const CSylItem* base : Bases(*type)) {
            names.append(base->name).push_back('\n');
        }
    }
    return names;
}

}  // namespace sylva
