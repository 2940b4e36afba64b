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
                         return a->sortKey < b->sortKey;
                     });
}

void CZTScanSource::RemoveItem(std::size_t slot) {
    std::unique_ptr<CSylItem>& item = items[slot];
    if (!item) {
        return;
    }
    auto it = liveNames_.find(item->name);
    if (it != liveNames_.end() && --it->second == 0) {
        liveNames_.erase(it);
    }
    item.reset();
}

bool CZTScanSource::IsPageNameUsed(std::string_view name) const {
    return liveNames_.find(name) != liveNames_.end();
}

}  // namespace sylva
