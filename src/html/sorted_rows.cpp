#include "html/sorted_rows.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

namespace sylva {

namespace {

std::string_view RestFrom(std::string_view row, std::size_t offset) {
    return row.substr(std::min(offset, row.size()));
}

}  // namespace

void SortedRows::Fill(Key& key, std::string_view rest) {
    key.size = static_cast<std::uint8_t>(std::min(rest.size(), kKeyBytes));
    std::memcpy(key.bytes.data(), rest.data(), key.size);
}

void SortedRows::Add(std::string_view row) {
    Key key{};
    key.index = static_cast<std::uint32_t>(keys_.size());
    Fill(key, RestFrom(row, sharedPrefix_));
    keys_.push_back(key);
}

std::vector<std::uint32_t> SortedRows::TakeOrder(const RowBuilder& rebuild) {
    std::deque<Key> sorted = std::move(keys_);
    keys_.clear();
    const auto text = [](const Key& key) { return std::string_view(key.bytes.data(), key.size); };
    // Each run of keys that cannot tell their rows apart is sorted again by the next kKeyBytes
    // bytes of its rows, each row built once per step: a row is built as often as its run needs
    // steps, not once per comparison, and no more than the keys is held. A key shorter than
    // kKeyBytes holds all of its row, so its run is settled.
    struct Run {
        std::size_t first;
        std::size_t last;
        std::size_t offset;  // of the bytes in the run's keys; all rows agree before it
    };
    std::vector<Run> pending{{0, sorted.size(), sharedPrefix_}};
    while (!pending.empty()) {
        const Run run = pending.back();
        pending.pop_back();
        const auto first = sorted.begin() + static_cast<std::ptrdiff_t>(run.first);
        const auto last = sorted.begin() + static_cast<std::ptrdiff_t>(run.last);
        std::sort(first, last, [&text](const Key& a, const Key& b) { return text(a) < text(b); });
        for (auto tie = first; tie != last;) {
            const auto tieEnd = std::find_if(
                tie + 1, last, [&](const Key& key) { return text(key) != text(*tie); });
            if (tie->size == kKeyBytes && tieEnd - tie > 1) {
                const std::size_t next = run.offset + kKeyBytes;
                for (auto key = tie; key != tieEnd; ++key) {
                    Fill(*key, RestFrom(rebuild(key->index), next));
                }
                pending.push_back({static_cast<std::size_t>(tie - sorted.begin()),
                                   static_cast<std::size_t>(tieEnd - sorted.begin()), next});
            }
            tie = tieEnd;
        }
    }
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
