#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/scan_source.h"
#include "scan/syl_item.h"

namespace sylva {
namespace {

std::unique_ptr<CSylItem> MakeItem(CZTScanSource& generator, std::string name, std::string group,
                                   std::string tag = {}) {
    auto item = std::make_unique<CSylItem>(&generator);
    item->name = std::move(name);
    item->group = std::move(group);
    item->Details().shortDesc = std::move(tag);
    return item;
}

std::vector<std::string> Order(const CZTScanSource& generator) {
    std::vector<std::string> order;
    for (const auto& item : generator.items) {
        order.push_back(item ? item->SortKey() + item->Details().shortDesc : "(empty)");
    }
    return order;
}

TEST(ItemList, SortsBySortKeyBytewiseWithEqualKeysInCreationOrder) {
    CZTScanSource generator;
    generator.AddItem(MakeItem(generator, "Zeta", "Common"));
    generator.AddItem(MakeItem(generator, "Init", "Drawing", "#1"));
    generator.AddItem(MakeItem(generator, "alpha", "Common"));
    generator.AddItem(MakeItem(generator, "Alpha", "Drawing"));
    generator.AddItem(MakeItem(generator, "Init", "Drawing", "#2"));
    generator.AddItem(MakeItem(generator, "Alpha", "Common"));
    generator.SortItems();
    EXPECT_EQ(Order(generator),
              (std::vector<std::string>{"Common-Alpha", "Common-Zeta", "Common-alpha",
                                        "Drawing-Alpha", "Drawing-Init#1", "Drawing-Init#2"}));
}

TEST(ItemList, NameLookupSeesOnlyNonEmptySlotsAndIsCaseSensitive) {
    CZTScanSource generator;
    EXPECT_FALSE(generator.IsPageNameUsed("Init"));
    int first = generator.AddItem(MakeItem(generator, "Init", "Common"));
    int second = generator.AddItem(MakeItem(generator, "Init", "Common"));
    EXPECT_TRUE(generator.IsPageNameUsed("Init"));
    EXPECT_FALSE(generator.IsPageNameUsed("init"));
    EXPECT_FALSE(generator.IsPageNameUsed("Ini"));

    generator.RemoveItem(static_cast<std::size_t>(first));
    EXPECT_TRUE(generator.IsPageNameUsed("Init"));
    generator.RemoveItem(static_cast<std::size_t>(second));
    EXPECT_FALSE(generator.IsPageNameUsed("Init"));
    generator.RemoveItem(static_cast<std::size_t>(second));  // an empty slot stays empty
    EXPECT_EQ(generator.items.size(), 2u);
    EXPECT_EQ(generator.items[0], nullptr);
}

}  // namespace
}  // namespace sylva
