#include "scan/syl_item.h"

namespace sylva {

CSylItem::CSylItem(CZTScanSource* itemOwner) : owner(itemOwner) {}

CSylItem::~CSylItem() = default;

CZTStringArray* CSylItem::GetSection(int index) {
    return index >= 0 && index < kSectionCount ? &sections[static_cast<std::size_t>(index)]
                                               : nullptr;
}

const CZTStringArray* CSylItem::GetSection(int index) const {
    return index >= 0 && index < kSectionCount ? &sections[static_cast<std::size_t>(index)]
                                               : nullptr;
}

}  // namespace sylva
