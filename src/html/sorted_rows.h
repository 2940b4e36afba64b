// SortedRows: the order of many generated rows by their complete text, without holding the rows.
//
// The index pages list every item a second time in ascending order of its row's text. Holding a
// copy of every row to sort them would cost as much memory as the pages themselves; instead each
// row leaves a short key (its first bytes behind the part all rows share), and a row is built
// again only while keys cannot tell the order: once for each further step of key bytes.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace sylva {

class SortedRows {
  public:
    // Builds row `index` (0, 1, ... in the order of Add) again, byte for byte as it was added.
    using RowBuilder = std::function<std::string(std::size_t index)>;

    // REQUIRES: every row added begins with the same `sharedPrefix` bytes.
    explicit SortedRows(std::size_t sharedPrefix) : sharedPrefix_(sharedPrefix) {}

    // Takes note of the next row.
    void Add(std::string_view row);
    std::size_t size() const { return keys_.size(); }

    // The indices of the rows in ascending byte order of their text; rows of equal text in any
    // order. The notes are used up: afterwards the object holds no rows.
    std::vector<std::uint32_t> TakeOrder(const RowBuilder& rebuild);

  private:
    static constexpr std::size_t kKeyBytes = 32;

    struct Key {
        std::uint32_t index;
        std::uint8_t size;  // bytes of `bytes` in use; kKeyBytes when the row may go on
        std::array<char, kKeyBytes> bytes;
    };

    // Puts the first kKeyBytes bytes of `rest` (or all of it) into `key`.
    static void Fill(Key& key, std::string_view rest);

    std::size_t sharedPrefix_;
    // A deque: its small blocks fit into memory that freed items leave behind, where one large
    // array would take memory of its own.
    std::deque<Key> keys_;
};

// The number of leading bytes of `templateText` that no placeholder substitution can change:
// those before its first '['. Every row filled from the template begins with them.
std::size_t FixedLead(std::string_view templateText);

}  // namespace sylva
