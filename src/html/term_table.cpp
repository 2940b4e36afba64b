#include "html/term_table.h"

#include <utility>

namespace sylva {

namespace {

constexpr std::size_t kFirstSlots = 1024;

std::uint32_t TagOf(std::size_t hash) {
    return static_cast<std::uint32_t>(static_cast<std::uint64_t>(hash) >> 32);
}

}  // namespace

TermTable::Term& TermTable::Find(std::string&& text, std::size_t hash) {
    if ((terms_.size() + 1) * 4 > slots_.size() * 3) {
        Grow();
    }
    const std::size_t mask = slots_.size() - 1;
    const std::uint32_t tag = TagOf(hash);
    for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
        Slot& slot = slots_[i];
        if (slot.term == 0) {
            terms_.push_back({std::move(text), hash, {}, 0});
            slot = {tag, static_cast<std::uint32_t>(terms_.size())};
            return terms_.back();
        }
        Term& term = terms_[slot.term - 1];
        if (slot.tag == tag && term.hash == hash && term.text == text) {
            return term;
        }
    }
}

void TermTable::Grow() {
    std::vector<Slot> slots(slots_.empty() ? kFirstSlots : slots_.size() * 2);
    const std::size_t mask = slots.size() - 1;
    for (std::size_t k = 0; k < terms_.size(); ++k) {
        std::size_t i = terms_[k].hash & mask;
        while (slots[i].term != 0) {
            i = (i + 1) & mask;
        }
        slots[i] = {TagOf(terms_[k].hash), static_cast<std::uint32_t>(k + 1)};
    }
    slots_ = std::move(slots);
}

}  // namespace sylva
