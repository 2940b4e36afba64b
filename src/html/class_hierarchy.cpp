// The class hierarchy: one iterative walk down the derived classes from each class without
// bases, each class expanded once.
#include "html/class_hierarchy.h"

#include <deque>
#include <unordered_set>

#include "html/name_links.h"
#include "html/output_files.h"
#include "html/page_names.h"
#include "html/placeholders.h"
#include "support/text_format.h"
#include "support/zt_time.h"

namespace sylva {

namespace {

constexpr std::string_view kTreeStart = "<ul class=\"hierarchy\">\n";
constexpr std::string_view kListStart = "\n<ul>\n";
constexpr std::string_view kItemStart = "<li>";
constexpr std::string_view kItemEnd = "</li>\n";
constexpr std::string_view kListEnd = "</ul></li>\n";
constexpr std::string_view kTreeEnd = "</ul>";

bool IsClassLike(const CSylItem& item) {
    return item.kind == DoxygenKind::kClass || item.kind == DoxygenKind::kStruct ||
           item.kind == DoxygenKind::kUnion;
}

constexpr WarningKind kHierarchyTooDeep = {
    "doxygen.hierarchy-too-deep",
    "the class hierarchy is more than %s levels deep below \"%s\"; the classes derived from it "
    "continue at the top level of the hierarchy page"};

class TreeWalk {
  public:
    explicit TreeWalk(const ScopeIndex& scopes) : scopes_(scopes) {}

    // `top` and everything below it not yet expanded, as one entry of the top-level list.
    void Walk(const CSylItem* top) {
        if (!Open(top, 0)) {
            return;
        }
        path_.push_back({top, 0});
        while (!path_.empty()) {
            Frame& frame = path_.back();
            const std::vector<const CSylItem*>& derived = scopes_.Derived(*frame.type);
            if (frame.next == derived.size()) {
                tree_.html.append(kListEnd);
                path_.pop_back();
                continue;
            }
            const CSylItem* next = derived[frame.next++];
            if (Open(next, path_.size())) {
                path_.push_back({next, 0});
            }
        }
    }

    // Walks the classes cut at the depth limit, as top-level entries, until none is left.
    void WalkCut() {
        while (!cut_.empty()) {
            const CSylItem* type = cut_.front();
            cut_.pop_front();
            if (!expanded_.contains(type)) {
                Walk(type);
            }
        }
    }

    bool Shown(const CSylItem* type) const { return shown_.contains(type); }
    HierarchyTree& Tree() { return tree_; }

  private:
    struct Frame {
        const CSylItem* type;
        std::size_t next;
    };

    // Writes the entry of `type` at `depth`; true when its derived classes follow below it.
    bool Open(const CSylItem* type, std::size_t depth) {
        shown_.insert(type);
        tree_.html.append(kItemStart);
        AppendNameLink(tree_.html, PageFile(*type), type->name);
        if (scopes_.Derived(*type).empty() || expanded_.contains(type)) {
            tree_.html.append(kItemEnd);
            return false;
        }
        if (depth + 1 >= kHierarchyDepthLimit) {
            tree_.html.append(kItemEnd);
            cut_.push_back(type);
            if (tree_.cutAt == nullptr) {
                tree_.cutAt = type;
            }
            return false;
        }
        expanded_.insert(type);
        tree_.html.append(kListStart);
        return true;
    }

    const ScopeIndex& scopes_;
    HierarchyTree tree_;
    std::vector<Frame> path_;
    std::unordered_set<const CSylItem*> shown_;
    std::unordered_set<const CSylItem*> expanded_;
    std::deque<const CSylItem*> cut_;
};

}  // namespace

HierarchyTree BuildHierarchy(const std::vector<const CSylItem*>& classes,
                             const ScopeIndex& scopes) {
    TreeWalk walk(scopes);
    walk.Tree().html.append(kTreeStart);
    for (const CSylItem* type : classes) {
        if (scopes.Bases(*type).empty()) {
            walk.Walk(type);
        }
    }
    walk.WalkCut();
    // What is left lies on inheritance cycles (or below one).
    for (const CSylItem* type : classes) {
        if (!walk.Shown(type)) {
            walk.Walk(type);
            walk.WalkCut();
        }
    }
    walk.Tree().html.append(kTreeEnd);
    return std::move(walk.Tree());
}

std::vector<const CSylItem*> HierarchyClasses(const std::vector<const CSylItem*>& paged) {
    std::vector<const CSylItem*> classes;
    for (const CSylItem* item : paged) {
        if (item->style == CommentStyle::kDoxygen && IsClassLike(*item)) {
            classes.push_back(item);
        }
    }
    return classes;
}

bool WriteClassHierarchy(const PageJob& job, const std::vector<const CSylItem*>& classes) {
    const Settings& settings = job.settings;
    const ScopeIndex scopes(job.items, classes);
    const HierarchyTree tree = BuildHierarchy(classes, scopes);
    if (tree.cutAt != nullptr) {
        job.reporter.Warning(
            tree.cutAt->sourceFile, tree.cutAt->sourceLine,
            FormatLine(kHierarchyTooDeep, {std::to_string(kHierarchyDepthLimit), tree.cutAt->name})
                .About(tree.cutAt->name));
    }
    std::string page;
    AppendLine(page, FillTemplate(settings[SYL_HTML_DESC_FILE_START],
                                  {{placeholder::kFont, settings[SYL_STD_FONT_HEADER]},
                                   {placeholder::kHtmlTitle, kClassHierarchyTitle},
                                   {placeholder::kFncTitle, kClassHierarchyTitle},
                                   {placeholder::kShortDesc, ""}}));
    AppendLine(page, FillTemplate(settings[SYL_HTML_DESC_CNT_TEXT_START],
                                  {{placeholder::kFont, settings[SYL_STD_FONT_TEXT]}}));
    AppendLine(page, tree.html);
    AppendLine(page, settings[SYL_HTML_DESC_CNT_TEXT_END]);
    const std::size_t datedFrom = page.size();
    page.append(DescriptionPageEnd(settings, CZTTime::Now().GetTimeAsString()));
    const std::string undated = DescriptionPageEnd(settings, "");
    const std::string path =
        job.project.Directory() + "/" + HierarchyFile(job.project.directoryName);
    return WriteOutputFile(job, path, {page, datedFrom, undated}, OutputKind::kProjectIndex,
                           kPageOpenFailure)
        .ok();
}

}  // namespace sylva
