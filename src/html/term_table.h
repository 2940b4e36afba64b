// TermTable: the terms of a search index with their postings, found by their hash.
//
// Adding an entry to the index looks up each of its terms, some ten million lookups on a large
// project, on the thread that writes the pages: the table keeps its terms in one sequence and
// finds them through a power-of-two array of small slots (open addressing, linear probing), so
// that a lookup costs no division and reads a slot and, when the hash matches, the term.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

namespace sylva {

class TermTable {
  public:
    struct Term {
        std::string text;
        std::size_t hash;
        std::string postings;        // as the index's writer encodes them
        std::uint32_t lastItem = 0;  // the item of the last posting
    };

    // The term of `text`, whose std::hash is `hash`; added with no postings when new.
    Term& Find(std::string&& text, std::size_t hash);

    // Every term, in the order they were added.
    const std::deque<Term>& Terms() const { return terms_; }

  private:
    struct Slot {
        std::uint32_t tag;   // the hash's upper half
        std::uint32_t term;  // 1 + the term's place in terms_; 0 for an empty slot
    };

    void Grow();

    // Invariant: slots_.size() is 0 or a power of two, and at most three quarters are in use.
    std::vector<Slot> slots_;
    std::deque<Term> terms_;
};

}  // namespace sylva
