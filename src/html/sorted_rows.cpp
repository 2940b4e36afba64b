#include "html/sorted_rows.h"

#include <algorithm>
#include <cstring>

namespace sylva {

void SortedRows::Add(std::string_view row) {
    std::string_view rest = row.substr(std::min(sharedPrefix_, row.size()));
    Key key{};
    key.index = static_cast<std::uint32_t>(keys_.size());
    key.size = static_cast<std::uint8_t>(std::min(rest.size(), kKeyBytes));
    std::memcpy(key.bytes.data(), rest.data(), key.size);
    keys_.push_back(key);
}

std::vector<std::uint32_t> SortedRows::TakeOrder(const RowBuilder& rebuild) {
    std::deque<Key> sorted = std::move(keys_);
    keys_.clear();
    std::sort(sorted.begin(), sorted.end(), [&rebuild](const Key& a, const Key& b) {
        std::string_view left(a.bytes.data(), a.size);
        std::string_view right(b.bytes.data(), b.size);
        if (left != right || a.size < kKeyBytes) {
            // A key shorter than kKeyBytes holds all of its row behind the shared part.
            return left < right;
        }
        return rebuild(a.index) < rebuild(b.index);
    });
    std::vector<std::uint32_t> order;
    order.reserve(sorted.size());
    for (const Key& key : sorted) {
        order.push_back(key.index);
    }
    return order;
}

std::size_t FixedLead(std::string_view templateText) {
    return std::min(templateText.find('['), templateText.size());
}

}  // namespace sylva
