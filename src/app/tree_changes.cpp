#include "app/tree_changes.h"

#include <utility>

namespace sylva {

namespace {

constexpr std::string_view kLostChanges = "changes beyond count";

bool IsBelow(std::string_view path, std::string_view directory) {
    return path.size() > directory.size() && path.starts_with(directory) &&
           path[directory.size()] == '/';
}

}  // namespace

std::string DescribeChanges(const ChangeCount& count) {
    if (count.lost) {
        return std::string(kLostChanges);
    }
    const std::pair<const std::vector<std::string>&, std::string_view> parts[] = {
        {count.changed, "changed"}, {count.added, "added"}, {count.removed, "removed"}};
    std::string text;
    std::size_t total = 0;
    for (const auto& [paths, verb] : parts) {
        total += paths.size();
    }
    for (const auto& [paths, verb] : parts) {
        if (paths.empty()) {
            continue;
        }
        if (total == 1) {
            return paths.front() + " " + std::string(verb);
        }
        if (!text.empty()) {
            text.append(", ");
        }
        text.append(std::to_string(paths.size())).append(" ").append(verb);
    }
    return text;
}

TreeChanges::TreeChanges(const std::vector<std::string>& known,
                         std::function<bool(std::string_view path)> counts)
    : counts_(std::move(counts)) {
    Restart(known);
}

void TreeChanges::Restart(const std::vector<std::string>& known) {
    known_.clear();
    exists_.clear();
    for (const std::string& path : known) {
        if (counts_(path)) {
            known_.insert(path);
        }
    }
}

void TreeChanges::Add(const FileEvent& event) {
    using Kind = FileEvent::Kind;
    if (event.kind == Kind::kLost) {
        lost_ = true;
        return;
    }
    const bool gone = event.kind == Kind::kRemoved || event.kind == Kind::kMovedAway;
    if (event.directory) {
        // A directory moved in or made is followed by the events of the files in it.
        if (gone) {
            DirectoryGone(event.path);
        }
        return;
    }
    if (counts_(event.path)) {
        exists_[event.path] = !gone;
    }
}

void TreeChanges::DirectoryGone(const std::string& path) {
    // The files below it sort together, right after "path/" ("path-x" sorts before it).
    const std::string prefix = path + "/";
    for (auto file = known_.lower_bound(prefix); file != known_.end() && file->starts_with(prefix);
         ++file) {
        exists_[*file] = false;
    }
    for (auto& [file, exists] : exists_) {
        if (IsBelow(file, path)) {
            exists = false;
        }
    }
}

ChangeCount TreeChanges::Take() {
    ChangeCount count;
    count.lost = std::exchange(lost_, false);
    for (const auto& [path, exists] : exists_) {
        const bool existed = known_.contains(path);
        if (existed && exists) {
            count.changed.push_back(path);
        } else if (exists) {
            count.added.push_back(path);
            known_.insert(path);
        } else if (existed) {
            count.removed.push_back(path);
            known_.erase(path);
        }
    }
    exists_.clear();
    return count;
}

}  // namespace sylva
