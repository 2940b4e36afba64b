// The generator's item list: ownership, sort-key order and the lookup of item names.
#include <algorithm>

#include "engine/scan_source.h"
#include "scan/syl_item.h"

namespace sylva {

int CZTScanSource::AddItem(std::unique_ptr<CSylItem> item) {
    ++liveNames_[item->name];
    items.push_back(std::move(item));
    return static_cast<int>(items.size() - 1);
}

void CZTScanSource::SortItems() {
    // Empty slots only arise after the scan; should one be here, it sorts last.
    std::stable_sort(items.begin(), items.end(),
                     [](const std::unique_ptr<CSylItem>& a, const std::unique_ptr<CSylItem>& b) {
                         if (!a || !b) {
                             return a && !b;
                         }
                         return SortsBefore(*a, *b);
                     });
}

void CZTScanSource::RemoveItem(std::size_t slot) {
    std::unique_ptr<CSylItem>& item = items[slot];
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

bool CZTScanSource::IsPageNameUsed(std::string_view name) const {
    return liveNames_.find(name) != liveNames_.end();
}

}  // namespace sylva
